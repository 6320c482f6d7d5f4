#pragma once

#include "store/KeychainStore.h"

#include <QCoreApplication>

#include <optional>

// Every secret the keychain reads (none when the read fails), waited for on the event loop.
inline KeychainStore::Secrets readAll(KeychainStore &keychain)
{
    std::optional<KeychainStore::ReadResult> result;
    keychain.readAll([&](KeychainStore::ReadResult read) { result = std::move(read); });
    while (!result)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return result->value_or(KeychainStore::Secrets());
}
