#pragma once

#include "engine/AccountGroup.h"
#include "engine/ImportedToken.h"
#include "store/AccountDocument.h"

#include <QList>

// The groups accounts are in, each name kept once: the accounts name their groups by id.
class GroupTable
{
public:
    explicit GroupTable(AccountDocument &document) : m_document(document) {}

    const QList<AccountGroup> &groups() const { return m_groups; }
    // Takes the groups as loaded; nothing is saved.
    void reset(QList<AccountGroup> groups) { m_groups = std::move(groups); }
    // Gives every group the tokens name an id of this table, and saves the table when that
    // added any: a known id stays, an unknown one comes with its name, and a group without an
    // id (a tag, say) is the one of that name, or a new one. True when groups were added.
    bool take(QList<ImportedToken> &tokens);

private:
    QUuid idFor(const AccountGroup &group);

    AccountDocument &m_document;
    QList<AccountGroup> m_groups;
};
