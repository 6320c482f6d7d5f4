#pragma once

#include "engine/AccountGroup.h"
#include "engine/AccountIcon.h"
#include "engine/OtpParameters.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

// One account without its secret. The secret lives in the keychain under `id`.
struct TokenAccount
{
    QUuid id;
    QString name;
    QString issuer;
    OtpParameters otp;
    // The icon's hash and type (its bytes are in a file of their own), the ids of the groups it
    // is in, a note and whether it is a favourite. None of it is a secret.
    std::optional<AccountIcon> icon = {};
    QList<QUuid> groups = {};
    QString note = {};
    bool favourite = false;

    bool operator==(const TokenAccount &) const = default;

    // The canonical id text: 36 characters, upper-case hexadecimal, 8-4-4-4-12.
    QString idText() const { return idText(id); }
    static QString idText(const QUuid &id);
    // The id in that text form, either case; absent for anything else.
    static std::optional<QUuid> idFromText(const QString &text);

    // Whether a search term finds the account: the panel's filter, the desktop's search and
    // the terminal all look in the name and the issuer, ignoring case; the panel's filter also
    // in the note and the names of the account's groups among `groups`.
    bool matches(const QString &term) const
    {
        return name.contains(term, Qt::CaseInsensitive) || issuer.contains(term, Qt::CaseInsensitive);
    }
    bool matches(const QString &term, const QList<AccountGroup> &groups) const;

    // "algorithm" is written only when it is not SHA1, "steam" only when true, "type" and
    // "counter" only for HOTP, and "icon" with "iconType", "groups", "note" and "favourite"
    // only when set, so a plain account's record is what it always was.
    QJsonObject toJson() const;
    // Absent when a member is missing, has the wrong JSON type, or "id" is not a UUID, or
    // "algorithm" is present but names no known hash, or "type" is present but is not "hotp"
    // with a "counter" that fits 64 bits unsigned, or an icon, a group, the note or the favourite
    // flag is malformed. Missing "algorithm", "steam" and "type" read as SHA1, false and TOTP.
    static std::optional<TokenAccount> fromJson(const QJsonObject &object);

    // The stored account list: a compact JSON array of records, in list order.
    static QByteArray encodeList(const QList<TokenAccount> &accounts);
    // The whole list, or absent when the document or any one record is malformed.
    static std::optional<QList<TokenAccount>> decodeList(const QByteArray &document);

    // The stored group list: a compact JSON array of {"id", "name"}; absent when malformed.
    static QByteArray encodeGroups(const QList<AccountGroup> &groups);
    static std::optional<QList<AccountGroup>> decodeGroups(const QByteArray &document);
};

size_t qHash(const TokenAccount &account, size_t seed = 0) noexcept;
