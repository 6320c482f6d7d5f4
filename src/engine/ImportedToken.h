#pragma once

#include "engine/AccountGroup.h"
#include "engine/AccountIcon.h"
#include "engine/OtpParameters.h"

#include <QList>
#include <QUuid>

#include <QString>
#include <QtGlobal>

// An account as read from an otpauth link or typed into the add sheet, secret included.
struct ImportedToken
{
    QString name;
    QString issuer;
    QString secret;
    OtpParameters otp = {};
    // What a person keeps with the account besides its codes, none of it secret. Moving out,
    // the icon holds its bytes and `id` is the account's; read from a file, `id` is that file's.
    std::optional<AccountIcon> icon = {};
    QList<AccountGroup> groups = {};
    QString note = {};
    bool favourite = false;
    QUuid id = {};

    bool operator==(const ImportedToken &) const = default;
};
