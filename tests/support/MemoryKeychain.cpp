#include "support/MemoryKeychain.h"

std::expected<void, KeychainError> MemoryKeychain::save(const QString &secret, const QUuid &id)
{
    ++saveCalls;
    items.remove(id);
    if (saveFailure)
        return std::unexpected(*saveFailure);
    items.insert(id, secret);
    return {};
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
    Q_EMIT unlockFinished(false);
}

void MemoryKeychain::reset()
{
    items.clear();
    state = Status::Available;
    saveFailure.reset();
    saveCalls = readCalls = unlockCalls = 0;
    setStatus(Status::Unknown);
}
