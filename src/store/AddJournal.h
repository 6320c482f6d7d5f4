#pragma once

#include "store/StoreError.h"

#include <QList>
#include <QSettings>
#include <QUuid>

#include <optional>

// The ids of accounts whose secret is being stored, or was stored by an add that never
// listed it: each is written down before the keychain is asked, and struck once the saved
// list names the account or its keychain item is gone. A start after a crash, and the
// keychain's late answers, remove the items of the ids still written down.
class AddJournal
{
public:
    explicit AddJournal(QSettings &settings) : m_settings(settings) {}

    // Why nothing was recorded, when the settings cannot be written: the add must not reach
    // the keychain, as its list could not be saved either.
    std::optional<ListSaveError> record(const QList<QUuid> &ids);
    void strike(const QList<QUuid> &ids);
    // Strikes the ids in the settings' cache only, so that the save of the list naming them
    // writes both at once; `putBack` writes them down again in the cache when that save failed.
    void strikeWithNextSave(const QList<QUuid> &ids);
    void putBack(const QList<QUuid> &ids);
    QList<QUuid> ids() const;

private:
    QList<QUuid> idsWithout(const QList<QUuid> &ids) const;
    void write(const QList<QUuid> &ids);
    void writeToCache(const QList<QUuid> &ids);

    QSettings &m_settings;
};
