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
        held.append(answer);
    else
        answer();
}

void MemoryKeychain::answerHeld()
{
    for (const auto &answer : std::exchange(held, {}))
        answer();
}

void MemoryKeychain::remove(const QUuid &id, std::function<void(bool removed)> done)
{
    const auto answer = [this, id, done, removable = state == Status::Available] {
        if (removable)
            items.remove(id);
        if (done)
            done(removable);
    };
    if (holdRemovals)
        held.append(answer);
    else
        answer();
}

void MemoryKeychain::read(const QList<QUuid> &ids, std::function<void(ReadResult)> done)
{
    ++readCalls;
    asked.append(ids);
    const auto answer = [this, ids, done] {
        setStatus(state);
        if (state != Status::Available)
            return done(std::unexpected(KeychainError(u"test"_qs, int(state), u"unusable"_qs)));
        Secrets found;
        for (const QUuid &id : ids) {
            if (items.contains(id))
                found.insert(id, items.value(id));
        }
        done(found);
    };
    if (holdReads)
        held.append(answer);
    else
        answer();
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
    holdSaves = holdRemovals = holdReads = false;
    held.clear();
    asked.clear();
    saveCalls = readCalls = unlockCalls = 0;
    setStatus(Status::Unknown);
}
