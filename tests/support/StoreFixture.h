#pragma once

#include "store/TokenStore.h"
#include "support/AwaitKeychain.h"
#include "support/FakeClock.h"
#include "support/MemoryKeychain.h"
#include "support/TempSettings.h"

#include <memory>

// RFC 6238's SHA-1 key in Base32: at 59 s its 6-digit code is 287082.
inline const QString rfcSecret = QStringLiteral("GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ");

// A store over an in-memory keychain and a settings file of its own, on a clock (and
// timers) the test moves.
struct StoreFixture
{
    TempSettings settings;
    MemoryKeychain keychain;
    FakeClock clock;
    std::unique_ptr<TokenStore> store;

    // No store, empty settings and keychain, the clock at 59 s.
    void reset();
    // A new store over what the settings and the keychain hold, as after a restart.
    TokenStore &restart();
    // A fresh store listing `count` accounts named "A", "B"..., each with secret(i).
    TokenStore &storeWith(int count);
    // The listed account of that name.
    TokenAccount account(const QString &name) const;
    QStringList names() const { return names(store->accounts()); }
    // The names in the list as stored in the settings file.
    QStringList storedNames() const;
    static QStringList names(const QList<TokenAccount> &accounts);
    // rfcSecret for 0, else a secret of its own for each `n`.
    static QString secret(int n);
};

// What the store answers an add; over the in-memory keychain it answers before the call returns.
using AddResult = std::expected<TokenAccount, StoreError>;
inline AddResult added(TokenStore &store, const ImportedToken &token)
{
    return awaitKeychain<AddResult>([&](auto done) { store.add(token, done); });
}
inline AddResult quickAdded(TokenStore &store, const QString &secret)
{
    return awaitKeychain<AddResult>([&](auto done) { store.quickAdd(secret, done); });
}
inline ImportSummary addedAll(TokenStore &store, const QList<ImportedToken> &tokens)
{
    return awaitKeychain<ImportSummary>([&](auto done) { store.addAll(tokens, done); });
}
