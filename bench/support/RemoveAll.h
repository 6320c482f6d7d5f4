#pragma once

#include "store/KeychainStore.h"
#include "store/TokenAccount.h"

#include <QCoreApplication>

// Deletes the accounts' items one at a time, as the app deletes, each once the keychain
// has answered for the one before.
inline void removeAll(KeychainStore &keychain, const QList<TokenAccount> &accounts)
{
    for (const TokenAccount &account : accounts) {
        bool done = false;
        keychain.remove(account.id, [&](bool) { done = true; });
        while (!done)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}
