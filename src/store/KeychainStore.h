#pragma once

#include "store/KeychainError.h"

#include <QHash>
#include <QString>
#include <QUuid>

#include <expected>
#include <optional>

// Where account secrets live: one item per account, keyed by the account's id.
// Every call is synchronous and made on the main thread.
class KeychainStore
{
public:
    virtual ~KeychainStore() = default;

    // Replaces any item for the id (delete, then add). The delete's outcome is ignored.
    virtual std::expected<void, KeychainError> save(const QString &secret, const QUuid &id) = 0;
    // The secret for the id; absent on any failure, a missing item or data that is not UTF-8.
    virtual std::optional<QString> load(const QUuid &id) = 0;
    // Deletes the item for the id; failures are silent.
    virtual void remove(const QUuid &id) = 0;
    // Every readable secret of this application in one call, for the start-up refresh.
    // Items whose data is not UTF-8 are left out; a failure gives an empty map.
    virtual QHash<QUuid, QString> loadAll() = 0;
};
