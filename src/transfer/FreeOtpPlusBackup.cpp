#include "transfer/FreeOtpPlusBackup.h"

#include "engine/JsonInteger.h"
#include "transfer/ForeignEntry.h"
#include "transfer/TextEncoding.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cmath>
#include <limits>

namespace {

// The secret's bytes in Base32; empty, and so refused, when an element is not a byte.
QString secretOf(const QJsonValue &bytes)
{
    QByteArray secret;
    for (const QJsonValue &value : bytes.toArray()) {
        const double byte = value.toDouble(1000);
        if (byte < -128 || byte > 255 || byte != std::trunc(byte))
            return {};
        secret.append(char(int(byte)));
    }
    return TextEncoding::toBase32(secret);
}

// FreeOTP+ keeps a Steam account as a TOTP token whose issuer is "Steam", and shows Steam
// codes for it.
QString typeOf(const QJsonValue &token)
{
    const QString type = token[u"type"].toString();
    const bool steam = type.compare(u"totp", Qt::CaseInsensitive) == 0 && token[u"issuerExt"].toString() == u"Steam";
    return steam ? QStringLiteral("steam") : type;
}

// FreeOTP+ keeps the counter of the code it showed last and adds one before the next; the
// counter here is the next code's. Its backups of the peers' sample accounts say 0, 49 and
// 10299 where every other app's say 1, 50 and 10300.
QJsonValue nextCounter(const QJsonValue &counter)
{
    const auto number = JsonInteger::toSigned(counter);
    if (!number || *number < 0 || *number == std::numeric_limits<qint64>::max())
        return counter;
    return *number + 1;
}

ForeignEntry entryOf(const QJsonValue &token)
{
    const QString issuer = token[u"issuerExt"].toString();
    return {typeOf(token),
            token[u"label"].toString(),
            issuer.isEmpty() ? token[u"issuerInt"].toString() : issuer,
            secretOf(token[u"secret"]),
            token[u"algo"].toString(),
            token[u"digits"],
            token[u"period"],
            nextCounter(token[u"counter"])};
}

} // namespace

namespace FreeOtpPlusBackup {

bool recognizes(const ImportContent &content)
{
    return content.json[u"tokens"].isArray();
}

std::expected<ImportBatch, TransferError> read(const ImportContent &content)
{
    return ForeignEntry::batchFrom(content.json[u"tokens"].toArray(), entryOf, content.stop);
}

} // namespace FreeOtpPlusBackup
