#pragma once

#include "engine/Clock.h"
#include "store/TokenAccount.h"

#include <QObject>

#include <optional>

class CodeClipboard;
class TokenStore;

// Copies an account's code, whatever asked (a click, the row's menu, the list's keys, a
// shortcut), and marks the row it came from for 1.2 seconds. The clipboard clears it again
// after the store's delay.
class CodeCopier : public QObject
{
    Q_OBJECT

public:
    CodeCopier(TokenStore &store, CodeClipboard &clipboard, SingleShot singleShot, QObject *parent = nullptr);

    // Copies the store's current code of the account: digits, or Steam's digits and letters;
    // nothing while the store has no code. For a counter-based account it asks the store for
    // the next code and copies that.
    void copyAccount(const TokenAccount &account);
    const std::optional<QUuid> &copiedAccountID() const { return m_copiedAccountID; }

Q_SIGNALS:
    void copiedAccountChanged(const std::optional<QUuid> &id);

private:
    void copyShown(const QString &codeText, const QUuid &id);
    void setCopiedAccountID(const std::optional<QUuid> &id);

    TokenStore &m_store;
    CodeClipboard &m_clipboard;
    SingleShot m_singleShot;
    std::optional<QUuid> m_copiedAccountID;
};
