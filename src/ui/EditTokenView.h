#pragma once

#include "store/TokenAccount.h"
#include "ui/SheetDialog.h"

class QLabel;
class QLineEdit;
class TokenStore;

// The sheet that renames an account: its name and issuer, never its secret.
class EditTokenView : public SheetDialog
{
    Q_OBJECT

public:
    static constexpr int sheetWidth = 390;

    EditTokenView(TokenStore &store, TokenAccount account, QWidget *parent = nullptr);

    const TokenAccount &account() const { return m_account; }
    QLineEdit *nameField() const { return m_name; }
    QLineEdit *issuerField() const { return m_issuer; }
    QLabel *errorLine() const { return m_errorLine; }

private:
    void save();

    TokenStore &m_store;
    TokenAccount m_account;
    QLineEdit *m_name;
    QLineEdit *m_issuer;
    QLabel *m_errorLine;
};
