#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// An Aegis icon pack as read: each icon's file name, category, the issuers it is for and
// its bytes (not yet checked).
struct IconPack
{
    struct Icon
    {
        QString fileName;
        QString category;
        QStringList issuers;
        QByteArray bytes = {};

        bool operator==(const Icon &) const = default;
    };

    QString name;
    QList<Icon> icons;

    // The icon for an account of this issuer, as Aegis suggests one, ignoring case: the first
    // that names the issuer exactly, else the first with an issuer name holding it. Absent for
    // an empty issuer or when none fits.
    std::optional<qsizetype> match(const QString &issuer) const;
};
