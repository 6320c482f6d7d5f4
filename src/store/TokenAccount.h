#pragma once

#include "engine/HashAlgorithm.h"

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
    qint64 period;
    qint64 digits;
    // Both default to what every account had before other hashes and Steam were known.
    HashAlgorithm algorithm = HashAlgorithm::Sha1;
    bool steam = false;

    bool operator==(const TokenAccount &) const = default;

    // The canonical id text: 36 characters, upper-case hexadecimal, 8-4-4-4-12.
    QString idText() const { return idText(id); }
    static QString idText(const QUuid &id);
    // The id in that text form, either case; absent for anything else.
    static std::optional<QUuid> idFromText(const QString &text);

    // "algorithm" is written only when it is not SHA1 and "steam" only when true, so a
    // plain account's record is what it always was.
    QJsonObject toJson() const;
    // Absent when a member is missing, has the wrong JSON type, or "id" is not a UUID, or
    // "algorithm" is present but names no known hash. Missing "algorithm" and "steam" read
    // as SHA1 and false.
    static std::optional<TokenAccount> fromJson(const QJsonObject &object);

    // The stored account list: a compact JSON array of records, in list order.
    static QByteArray encodeList(const QList<TokenAccount> &accounts);
    // The whole list, or absent when the document or any one record is malformed.
    static std::optional<QList<TokenAccount>> decodeList(const QByteArray &document);
};

size_t qHash(const TokenAccount &account, size_t seed = 0) noexcept;
