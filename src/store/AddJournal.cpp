#include "store/AddJournal.h"

#include "store/SettingsKeys.h"

#include <QStringList>

QList<QUuid> AddJournal::ids() const
{
    QList<QUuid> ids;
    for (const QString &text : m_settings.value(SettingsKeys::pendingAdds).toStringList()) {
        if (const QUuid id = QUuid::fromString(text); !id.isNull())
            ids.append(id);
    }
    return ids;
}

std::optional<ListSaveError> AddJournal::record(const QList<QUuid> &ids)
{
    const QList<QUuid> before = this->ids();
    write(before + ids);
    auto failed = ListSaveError::of(m_settings, SettingsKeys::pendingAdds);
    if (failed)
        write(before);
    return failed;
}

QList<QUuid> AddJournal::idsWithout(const QList<QUuid> &ids) const
{
    QList<QUuid> left = this->ids();
    left.removeIf([&](const QUuid &id) { return ids.contains(id); });
    return left;
}

void AddJournal::strike(const QList<QUuid> &ids)
{
    if (const QList<QUuid> left = idsWithout(ids); left.size() != this->ids().size())
        write(left);
}

void AddJournal::strikeWithNextSave(const QList<QUuid> &ids)
{
    writeToCache(idsWithout(ids));
}

void AddJournal::putBack(const QList<QUuid> &ids)
{
    QList<QUuid> all = this->ids();
    for (const QUuid &id : ids) {
        if (!all.contains(id))
            all.append(id);
    }
    writeToCache(all);
}

void AddJournal::write(const QList<QUuid> &ids)
{
    writeToCache(ids);
    m_settings.sync();
}

void AddJournal::writeToCache(const QList<QUuid> &ids)
{
    if (ids.isEmpty()) {
        m_settings.remove(SettingsKeys::pendingAdds);
    } else {
        QStringList texts;
        for (const QUuid &id : ids)
            texts << id.toString(QUuid::WithoutBraces);
        m_settings.setValue(SettingsKeys::pendingAdds, texts);
    }
}
