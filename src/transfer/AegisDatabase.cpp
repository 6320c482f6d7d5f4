#include "transfer/AegisDatabase.h"

#include "transfer/ForeignEntry.h"
#include "transfer/TextEncoding.h"

#include <QCryptographicHash>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUuid>

#include <algorithm>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

// The version that keeps groups in a list of their own, named by uuid from each entry.
constexpr int databaseVersion = 3;

QString uuidText(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces);
}

// Aegis hashes an icon's MIME type and bytes together.
QString aegisIconHash(const AccountIcon &icon)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(AccountIcon::mimeName(icon.type).toUtf8());
    hash.addData(icon.bytes);
    return QString::fromLatin1(hash.result().toHex());
}

void insertIcon(QJsonObject &entry, const std::optional<AccountIcon> &icon)
{
    if (!icon || icon->bytes.isEmpty()) {
        entry.insert(u"icon"_s, QJsonValue::Null);
        entry.insert(u"icon_mime"_s, QJsonValue::Null);
        return;
    }
    entry.insert(u"icon"_s, QString::fromLatin1(icon->bytes.toBase64()));
    entry.insert(u"icon_mime"_s, AccountIcon::mimeName(icon->type));
    entry.insert(u"icon_hash"_s, aegisIconHash(*icon));
}

QJsonObject entryJson(const ImportedToken &token)
{
    QJsonObject info{{u"secret"_s, TextEncoding::canonicalBase32(token.secret)},
                     {u"algo"_s, algorithmName(token.otp.algorithm)},
                     {u"digits"_s, token.otp.digits}};
    // Aegis reads the counter as a Java long.
    if (token.otp.isHotp())
        info.insert(u"counter"_s, qint64(std::min<quint64>(token.otp.counter, std::numeric_limits<qint64>::max())));
    else
        info.insert(u"period"_s, token.otp.period);
    QJsonArray groups;
    for (const AccountGroup &group : token.groups)
        groups.append(uuidText(group.id));
    QJsonObject entry{{u"type"_s, kindName(token.otp.kind)},
                      {u"uuid"_s, uuidText(token.id.isNull() ? QUuid::createUuid() : token.id)},
                      {u"name"_s, token.name},
                      {u"issuer"_s, token.issuer},
                      {u"note"_s, token.note},
                      {u"favorite"_s, token.favourite},
                      {u"groups"_s, groups},
                      {u"info"_s, info}};
    insertIcon(entry, token.icon);
    return entry;
}

// Every group the tokens are in, once, in the order they first appear.
QJsonArray groupsJson(const QList<ImportedToken> &tokens)
{
    QList<QUuid> seen;
    QJsonArray groups;
    for (const ImportedToken &token : tokens) {
        for (const AccountGroup &group : token.groups) {
            if (seen.contains(group.id))
                continue;
            seen.append(group.id);
            groups.append(QJsonObject{{u"uuid"_s, uuidText(group.id)}, {u"name"_s, group.name}});
        }
    }
    return groups;
}

// The icon as Aegis reads one: Base64 bytes, JPEG when no MIME type is given; none when it is
// malformed or of another type.
std::optional<AccountIcon> iconOf(const QJsonValue &entry)
{
    const QJsonValue mime = entry[u"icon_mime"];
    const auto type = mime.isString() ? AccountIcon::typeFromMime(mime.toString()) : std::optional(IconType::Jpeg);
    const auto bytes = entry[u"icon"].isString() ? TextEncoding::fromBase64(entry[u"icon"].toString()) : std::nullopt;
    if (!type || !bytes || bytes->isEmpty())
        return std::nullopt;
    return AccountIcon::of(*bytes, *type);
}

// The entry's groups: by uuid from the database's list, or by the name older versions kept.
QList<AccountGroup> groupsOf(const QJsonValue &entry, const QHash<QUuid, QString> &names)
{
    QList<AccountGroup> groups;
    if (entry[u"groups"].isArray()) {
        for (const QJsonValue &id : entry[u"groups"].toArray()) {
            const QUuid uuid = QUuid::fromString(id.toString());
            if (names.contains(uuid))
                groups.append({uuid, names.value(uuid)});
        }
    } else if (entry[u"group"].isString() && !entry[u"group"].toString().isEmpty()) {
        groups.append({QUuid(), entry[u"group"].toString()});
    }
    return groups;
}

ForeignEntry entryOf(const QJsonValue &value, const QHash<QUuid, QString> &groupNames)
{
    const QJsonValue info = value[u"info"];
    return {value[u"type"].toString(),
            value[u"name"].toString(),
            value[u"issuer"].toString(),
            info[u"secret"].toString(),
            info[u"algo"].toString(),
            info[u"digits"],
            info[u"period"],
            info[u"counter"],
            iconOf(value),
            groupsOf(value, groupNames),
            value[u"note"].toString(),
            value[u"favorite"].toBool(),
            QUuid::fromString(value[u"uuid"].toString())};
}

} // namespace

QByteArray AegisDatabase::write(const QList<ImportedToken> &tokens)
{
    QJsonArray entries;
    for (const ImportedToken &token : tokens)
        entries.append(entryJson(token));
    // The icons are kept as they came: nothing for Aegis to shrink.
    return QJsonDocument(QJsonObject{{u"version"_s, databaseVersion},
                                     {u"entries"_s, entries},
                                     {u"groups"_s, groupsJson(tokens)},
                                     {u"icons_optimized"_s, true}})
        .toJson(QJsonDocument::Compact);
}

std::expected<ImportBatch, TransferError> AegisDatabase::read(const QJsonValue &database, std::stop_token stop)
{
    const QJsonValue entries = database[u"entries"];
    if (!entries.isArray())
        return std::unexpected(TransferError::Kind::damaged);
    QHash<QUuid, QString> groupNames;
    for (const QJsonValue &group : database[u"groups"].toArray()) {
        const QUuid id = QUuid::fromString(group[u"uuid"].toString());
        if (!id.isNull() && group[u"name"].isString())
            groupNames.insert(id, group[u"name"].toString());
    }
    return ForeignEntry::batchFrom(
        entries.toArray(), [&](const QJsonValue &entry) { return entryOf(entry, groupNames); }, std::move(stop));
}
