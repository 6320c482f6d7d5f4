#pragma once

#include "engine/OtpParameters.h"

#include <QString>
#include <QtGlobal>

// An account as read from an otpauth link or typed into the add sheet, secret included.
struct ImportedToken
{
    QString name;
    QString issuer;
    QString secret;
    OtpParameters otp = {};

    bool operator==(const ImportedToken &) const = default;
};
