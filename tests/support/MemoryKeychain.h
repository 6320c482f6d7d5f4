#pragma once

#include "store/KeychainStore.h"

#include <QHash>
#include <QList>

#include <optional>

// An in-memory keychain that counts its calls, answers at once (saves and removals later when
// told to, as a slow service would), and can be told to fail saves or to be in another state
// (locked...), where it removes nothing.
class MemoryKeychain : public KeychainStore
{
public:
    void save(const QString &secret, const QUuid &id, std::function<void(SaveResult)> done) override;
    void remove(const QUuid &id, std::function<void(bool removed)> done = {}) override;
    void read(const QList<QUuid> &ids, std::function<void(ReadResult)> done) override;
    void unlock() override;

    void reset();
    // Answers the held calls, in the order they were made.
    void answerHeld();

    QHash<QUuid, QString> items;
    Status state = Status::Available; // what the next read, save or unlock finds
    std::optional<KeychainError> saveFailure;
    bool holdSaves = false; // saves wait for answerHeld
    bool holdRemovals = false;
    bool holdReads = false;
    QList<QList<QUuid>> asked; // the ids of each read
    QList<std::function<void()>> held;
    int saveCalls = 0;
    int readCalls = 0;
    int unlockCalls = 0;
};
