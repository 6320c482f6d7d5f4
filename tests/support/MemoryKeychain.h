#pragma once

#include "store/KeychainStore.h"

#include <QHash>

#include <optional>

// An in-memory keychain that counts its calls and can be told to fail saves.
class MemoryKeychain : public KeychainStore
{
public:
    std::expected<void, KeychainError> save(const QString &secret, const QUuid &id) override;
    std::optional<QString> load(const QUuid &id) override;
    void remove(const QUuid &id) override;
    QHash<QUuid, QString> loadAll() override;

    QHash<QUuid, QString> items;
    std::optional<KeychainError> saveFailure;
    int saveCalls = 0;
    int loadCalls = 0;
    int removeCalls = 0;
    int loadAllCalls = 0;
};
