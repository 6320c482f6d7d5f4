#pragma once

#include "ui/SheetDialog.h"

#include <optional>

class QLineEdit;
class TokenStore;

// The sheet that adds an account from a pasted otpauth link or typed fields. A new one is
// made for each presentation, so it always starts empty.
class AddTokenView : public SheetDialog
{
    Q_OBJECT

public:
    static constexpr int sheetWidth = 410;

    explicit AddTokenView(TokenStore &store, QWidget *parent = nullptr);

    QLineEdit *linkField() const { return m_link; }
    QLineEdit *nameField() const { return m_name; }
    QLineEdit *issuerField() const { return m_issuer; }
    QLineEdit *secretField() const { return m_secret; }
    const std::optional<QString> &errorMessage() const { return m_errorMessage; }
    QLabel *errorLine() const { return m_errorLine; }

private:
    void fillFromLink(const QString &text);
    void add();
    void showError(const QString &message);

    TokenStore &m_store;
    QLineEdit *m_link;
    QLineEdit *m_name;
    QLineEdit *m_issuer;
    QLineEdit *m_secret;
    QLabel *m_errorLine;
    std::optional<QString> m_errorMessage;
};
