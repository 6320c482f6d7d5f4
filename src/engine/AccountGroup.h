#pragma once

#include <QString>
#include <QUuid>

// A group accounts can be put in, as Aegis keeps them: a fixed id and a name a person gives.
struct AccountGroup
{
    QUuid id;
    QString name;

    bool operator==(const AccountGroup &) const = default;
};
