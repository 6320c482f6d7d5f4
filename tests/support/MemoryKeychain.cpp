#include "support/MemoryKeychain.h"

void MemoryKeychain::save(const QString &secret, const QUuid &id, std::function<void(SaveResult)> done)
{
    ++saveCalls;
    const auto answer = [this, secret, id, done, failure = saveFailure] {
        setStatus(state);
        items.remove(id);
        if (!failure)
            items.insert(id, secret);
        done(failure ? SaveResult(std::unexpected(*failure)) : SaveResult());
    };
    if (holdSaves)
        heldSaves.append(answer);
    else
        answer();
}

void MemoryKeychain::answerHeldSaves()
{
    for (const auto &answer : std::exchange(heldSaves, {}))
        answer();
}

void MemoryKeychain::remove(const QUuid &id, std::function<void(bool removed)> done)
{
    const bool removable = state == Status::Available;
    if (removable)
        items.remove(id);
    if (done)
        done(removable);
}

void MemoryKeychain::readAll(std::function<void(ReadResult)> done)
{
    ++readCalls;
    setStatus(state);
    if (state == Status::Available)
        done(items);
    else
        done(std::unexpected(KeychainError(u"test"_qs, int(state), u"unusable"_qs)));
}

void MemoryKeychain::unlock()
{
    ++unlockCalls;
    if (state == Status::Available)
        setStatus(state); // the person typed the password
    Q_EMIT unlockFinished(state == Status::Available);
}

void MemoryKeychain::reset()
{
    items.clear();
    state = Status::Available;
    saveFailure.reset();
    holdSaves = false;
    heldSaves.clear();
    saveCalls = readCalls = unlockCalls = 0;
    setStatus(Status::Unknown);
}
