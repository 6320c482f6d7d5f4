#pragma once

#include "engine/Clock.h"
#include "store/TokenAccount.h"

#include <QObject>

#include <optional>

class CodeClipboard;
class TokenStore;

// Copies a row's code, by a click or by its shortcut, and marks the row it came from for
// 1.2 seconds. The clipboard clears it again after the store's delay.
class CodeCopier : public QObject
{
    Q_OBJECT

public:
    CodeCopier(TokenStore &store, CodeClipboard &clipboard, SingleShot singleShot, QObject *parent = nullptr);

    // Copies a code: digits, or Steam's digits and letters; never the placeholder. For a
    // counter-based account it asks the store for the next code and copies that.
    void copy(const QString &codeText, const TokenAccount &account);
    // The shortcut path: copies the account's current code.
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
