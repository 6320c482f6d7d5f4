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

void AddJournal::strike(const QList<QUuid> &ids)
{
    QList<QUuid> left = this->ids();
    const qsizetype count = left.size();
    left.removeIf([&](const QUuid &id) { return ids.contains(id); });
    if (left.size() != count)
        write(left);
}

void AddJournal::write(const QList<QUuid> &ids)
{
    if (ids.isEmpty()) {
        m_settings.remove(addsKey);
    } else {
        QStringList texts;
        for (const QUuid &id : ids)
            texts << id.toString(QUuid::WithoutBraces);
        m_settings.setValue(addsKey, texts);
    }
    m_settings.sync();
}
