#pragma once

#include "engine/Clock.h"
#include "store/StoreError.h"
#include "store/TokenAccount.h"

#include <QSettings>

#include <expected>
#include <optional>

// The account list in the settings file, and the record of the deletion awaiting undo. A
// list that cannot be read is set aside beside the file before anything replaces it.
class AccountDocument
{
public:
    AccountDocument(QSettings &settings, Clock clock);

    // Absent when none is stored or it is unreadable.
    std::optional<QList<TokenAccount>> load();

    // Writes the list, after a copy of an unreadable one it replaces.
    std::expected<void, StoreError> saveList(const QList<TokenAccount> &accounts);
    // Puts back the list a failed save replaced, so that a later write does not carry it.
    void restoreList(const QList<TokenAccount> &accounts);
    // The groups' names, kept once for every account in them; empty when none is stored or
    // the list is unreadable.
    QList<AccountGroup> loadGroups() const;
    void saveGroups(const QList<AccountGroup> &groups);
    // Whether the stored list was read, so that an account it does not name is not listed.
    bool listReadable() const;

    // The id recorded for a deletion awaiting undo (null when the record is not an id);
    // absent when none is recorded, or when the list was unreadable so no account can be
    // told apart from a deleted one.
    std::optional<QUuid> recordedDeletion() const;
    // The record is written with the next save of the list.
    void recordDeletion(const QUuid &id);
    // Drops the record at once, unless a later deletion is recorded now.
    void forgetDeletion(const QUuid &id);
    // Drops the record with the next save of the list.
    void dropDeletion();

private:
    bool setAsideUnreadable();

    QSettings &m_settings;
    Clock m_clock;
    // The stored list as found at start when it could not be read, until it is set aside.
    std::optional<QByteArray> m_unreadable;
};
