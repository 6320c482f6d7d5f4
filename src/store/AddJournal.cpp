#include "store/AddJournal.h"

#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString addsKey = u"totp.pendingAdds"_s;

} // namespace

QList<QUuid> AddJournal::ids() const
{
    QList<QUuid> ids;
    for (const QString &text : m_settings.value(addsKey).toStringList()) {
        if (const QUuid id = QUuid::fromString(text); !id.isNull())
            ids.append(id);
    }
    return ids;
}

std::optional<ListSaveError> AddJournal::record(const QList<QUuid> &ids)
{
    const QList<QUuid> before = this->ids();
    write(before + ids);
    auto failed = ListSaveError::of(m_settings, addsKey);
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
        m_settings.remove(addsKey);
    } else {
        QStringList texts;
        for (const QUuid &id : ids)
            texts << id.toString(QUuid::WithoutBraces);
        m_settings.setValue(addsKey, texts);
    }
}
