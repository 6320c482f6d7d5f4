#pragma once

#include "store/KeychainStore.h"

#include <QCoreApplication>

#include <optional>

// What `call(done)` hands to `done`, waited for on the event loop.
template <typename Result, typename Call> Result awaitKeychain(Call call)
{
    std::optional<Result> result;
    call([&](Result answer) { result = std::move(answer); });
    while (!result)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return std::move(*result);
}

// The secrets of these ids the keychain reads (none when the read fails).
inline KeychainStore::Secrets read(KeychainStore &keychain, const QList<QUuid> &ids)
{
    return awaitKeychain<KeychainStore::ReadResult>([&](auto done) { keychain.read(ids, done); })
        .value_or(KeychainStore::Secrets());
}

inline KeychainStore::SaveResult save(KeychainStore &keychain, const QString &secret, const QUuid &id)
{
    return awaitKeychain<KeychainStore::SaveResult>([&](auto done) { keychain.save(secret, id, done); });
}
