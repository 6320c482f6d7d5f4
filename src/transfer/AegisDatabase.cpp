#include "transfer/AegisDatabase.h"

#include "transfer/ForeignEntry.h"
#include "transfer/TextEncoding.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QUuid>

#include <algorithm>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int databaseVersion = 2;

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
    return {{u"type"_s, kindName(token.otp.kind)},
            {u"uuid"_s, QUuid::createUuid().toString(QUuid::WithoutBraces)},
            {u"name"_s, token.name},
            {u"issuer"_s, token.issuer},
            {u"note"_s, QString()},
            {u"favorite"_s, false},
            {u"icon"_s, QJsonValue::Null},
            {u"icon_mime"_s, QJsonValue::Null},
            {u"group"_s, QJsonValue::Null},
            {u"info"_s, info}};
}

ForeignEntry entryOf(const QJsonValue &value)
{
    const QJsonValue info = value[u"info"];
    return {value[u"type"].toString(),
            value[u"name"].toString(),
            value[u"issuer"].toString(),
            info[u"secret"].toString(),
            info[u"algo"].toString(),
            info[u"digits"],
            info[u"period"],
            info[u"counter"]};
}

} // namespace

QByteArray AegisDatabase::write(const QList<ImportedToken> &tokens)
{
    QJsonArray entries;
    for (const ImportedToken &token : tokens)
        entries.append(entryJson(token));
    return QJsonDocument(QJsonObject{{u"version"_s, databaseVersion}, {u"entries"_s, entries}})
        .toJson(QJsonDocument::Compact);
}

std::expected<ImportBatch, TransferError> AegisDatabase::read(const QJsonValue &database, std::stop_token stop)
{
    const QJsonValue entries = database[u"entries"];
    if (!entries.isArray())
        return std::unexpected(TransferError::Kind::damaged);
    return ForeignEntry::batchFrom(entries.toArray(), entryOf, std::move(stop));
}
