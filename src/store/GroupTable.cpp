#include "store/GroupTable.h"

#include "engine/LabelText.h"

bool GroupTable::take(QList<ImportedToken> &tokens)
{
    const qsizetype before = m_groups.size();
    for (ImportedToken &token : tokens) {
        QList<AccountGroup> named;
        for (const AccountGroup &group : std::as_const(token.groups)) {
            const AccountGroup resolved{idFor(group), group.name};
            if (!resolved.id.isNull() && !named.contains(resolved))
                named.append(resolved);
        }
        token.groups = std::move(named);
    }
    if (m_groups.size() == before)
        return false;
    m_document.saveGroups(m_groups);
    return true;
}

QUuid GroupTable::idFor(const AccountGroup &group)
{
    const QString name = LabelText::cleaned(group.name).trimmed();
    for (const AccountGroup &known : std::as_const(m_groups)) {
        if (group.id.isNull() ? known.name == name : known.id == group.id)
            return known.id;
    }
    if (name.isEmpty())
        return {};
    m_groups.append({group.id.isNull() ? QUuid::createUuid() : group.id, name});
    return m_groups.constLast().id;
}
