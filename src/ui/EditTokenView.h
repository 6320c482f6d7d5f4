#pragma once

#include "store/TokenAccount.h"
#include "ui/SheetDialog.h"

class QLabel;
class QLineEdit;
class TokenStore;

// The sheet that renames an account: its name and issuer, never its secret, and a
// counter-based account's counter, to bring it back in step with the service.
class EditTokenView : public SheetDialog
{
    Q_OBJECT

public:
    static constexpr int sheetWidth = 390;

    EditTokenView(TokenStore &store, TokenAccount account, QWidget *parent = nullptr);

    const TokenAccount &account() const { return m_account; }
    QLineEdit *nameField() const { return m_name; }
    QLineEdit *issuerField() const { return m_issuer; }
    // Only for a counter-based account.
    QLineEdit *counterField() const { return m_counter; }
    QLabel *errorLine() const { return m_errorLine; }

private:
    void save();
    void showError(const QString &text);

    TokenStore &m_store;
    TokenAccount m_account;
    QLineEdit *m_name;
    QLineEdit *m_issuer;
    QLineEdit *m_counter = nullptr;
    QLabel *m_errorLine;
};
