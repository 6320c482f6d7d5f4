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

std::optional<QString> MemoryKeychain::load(const QUuid &id)
{
    ++loadCalls;
    const auto it = items.constFind(id);
    if (it == items.constEnd())
        return std::nullopt;
    return *it;
}

void MemoryKeychain::remove(const QUuid &id)
{
    ++removeCalls;
    items.remove(id);
}

QHash<QUuid, QString> MemoryKeychain::loadAll()
{
    ++loadAllCalls;
    return items;
}
