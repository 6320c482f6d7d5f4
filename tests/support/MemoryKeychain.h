#pragma once

#include "store/KeychainStore.h"

#include <QHash>

#include <optional>

// An in-memory keychain that counts its calls, answers reads at once, and can be told to fail
// saves or to be in another state (locked, unreachable...).
class MemoryKeychain : public KeychainStore
{
public:
    std::expected<void, KeychainError> save(const QString &secret, const QUuid &id) override;
    void remove(const QUuid &id, std::function<void(bool removed)> done = {}) override;
    void readAll(std::function<void(ReadResult)> done) override;
    void unlock() override;

    void reset();

    QHash<QUuid, QString> items;
    Status state = Status::Available; // what the next read finds
    std::optional<KeychainError> saveFailure;
    int saveCalls = 0;
    int readCalls = 0;
    int unlockCalls = 0;
};
