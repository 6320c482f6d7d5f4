#pragma once

#include "engine/HashAlgorithm.h"

#include <QString>
#include <QtGlobal>

// An account as read from an otpauth link or typed into the add sheet, secret included.
struct ImportedToken
{
    QString name;
    QString issuer;
    QString secret;
    qint64 period = 30;
    qint64 digits = 6;
    HashAlgorithm algorithm = HashAlgorithm::Sha1;
    // Steam Guard codes: `digits` characters of the Steam alphabet instead of decimal digits.
    bool steam = false;

    bool operator==(const ImportedToken &) const = default;
};
