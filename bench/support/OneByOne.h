#pragma once

#include "store/KeychainStore.h"
#include "store/TokenAccount.h"

#include <QCoreApplication>

// Runs `call(account, finished)` for each account, each once the keychain has answered for
// the one before (`finished` was called), as the app saves and deletes.
template <typename Call> void oneByOne(const QList<TokenAccount> &accounts, Call call)
{
    for (const TokenAccount &account : accounts) {
        bool done = false;
        call(account, [&done] { done = true; });
        while (!done)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

inline void removeAll(KeychainStore &keychain, const QList<TokenAccount> &accounts)
{
    oneByOne(accounts, [&](const TokenAccount &account, auto finished) {
        keychain.remove(account.id, [finished](bool) { finished(); });
    });
}

// Stores `secretOf(account)` for each account; false when the keychain refused one.
template <typename SecretOf>
bool saveAll(KeychainStore &keychain, const QList<TokenAccount> &accounts, SecretOf secretOf)
{
    bool saved = true;
    oneByOne(accounts, [&](const TokenAccount &account, auto finished) {
        keychain.save(secretOf(account), account.id, [&saved, finished](KeychainStore::SaveResult result) {
            saved = saved && result.has_value();
            finished();
        });
    });
    return saved;
}
