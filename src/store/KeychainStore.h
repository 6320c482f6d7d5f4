#pragma once

#include "store/KeychainError.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QUuid>

#include <expected>
#include <functional>

// Where account secrets live: one item per account, keyed by the account's id. Main thread
// only. Every call is asynchronous; a save never prompts. The keychain tracks whether it can be
// used and says so through `status`.
class KeychainStore : public QObject
{
    Q_OBJECT

public:
    enum class Status { Unknown, Available, Locked, NoDefaultKeyring, Unreachable };
    Q_ENUM(Status)
    using Secrets = QHash<QUuid, QString>;
    using ReadResult = std::expected<Secrets, KeychainError>;
    using SaveResult = std::expected<void, KeychainError>;

    using QObject::QObject;

    // Replaces any item for the id (delete, then add); the delete's outcome is ignored. `done`
    // runs once, from the event loop or before this returns.
    virtual void save(const QString &secret, const QUuid &id, std::function<void(SaveResult)> done) = 0;
    // Deletes the item for the id; `done` learns whether that worked.
    virtual void remove(const QUuid &id, std::function<void(bool removed)> done = {}) = 0;
    // The readable secrets of these ids (none for an id without an item), each found by a
    // search of its own, all read in one call. Items whose data is not UTF-8 are left out.
    // Also with no ids it finds out the keychain's state. `done` runs once, from the event
    // loop or before this returns.
    virtual void read(const QList<QUuid> &ids, std::function<void(ReadResult)> done) = 0;
    // Asks the service, through its own prompt, to unlock the default keyring or to create one.
    // Does nothing while a prompt is open or when there is nothing to unlock.
    virtual void unlock() = 0;

    Status status() const { return m_status; }

Q_SIGNALS:
    void statusChanged();
    // The service announced something that may make missing secrets readable.
    void changed();
    // An unlock or creation prompt ended; false when the person dismissed it or it failed.
    void unlockFinished(bool unlocked);

protected:
    void setStatus(Status status)
    {
        if (status == m_status)
            return;
        m_status = status;
        Q_EMIT statusChanged();
    }

private:
    Status m_status = Status::Unknown;
};
