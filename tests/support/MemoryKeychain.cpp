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
    ++removeCalls;
    const bool removable = state == Status::Available;
    if (removable)
        items.remove(id);
    if (done)
        done(removable);
}

void MemoryKeychain::readAll(std::function<void(ReadResult)> done)
{
    ++readCalls;
    m_heldReads.append(std::move(done));
    if (!holdReads)
        answerReads();
}

void MemoryKeychain::answerReads()
{
    for (const auto &done : std::exchange(m_heldReads, {})) {
        setStatus(state);
        if (state == Status::Available)
            done(items);
        else
            done(std::unexpected(KeychainError(u"test"_qs, int(state), u"unusable"_qs)));
    }
}

void MemoryKeychain::unlock()
{
    ++unlockCalls;
    if (unlockSucceeds)
        state = Status::Available;
    Q_EMIT unlockFinished(unlockSucceeds);
}

void MemoryKeychain::reset()
{
    items.clear();
    state = Status::Available;
    saveFailure.reset();
    holdReads = unlockSucceeds = false;
    saveCalls = readCalls = removeCalls = unlockCalls = 0;
    m_heldReads.clear();
    setStatus(Status::Unknown);
}
