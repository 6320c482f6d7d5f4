#include "transfer/FreeOtpPlusBackup.h"

#include "transfer/ForeignEntry.h"
#include "transfer/TextEncoding.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cmath>

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

ForeignEntry entryOf(const QJsonValue &token)
{
    const QString issuer = token[u"issuerExt"].toString();
    return {typeOf(token),
            token[u"label"].toString(),
            issuer.isEmpty() ? token[u"issuerInt"].toString() : issuer,
            secretOf(token[u"secret"]),
            token[u"algo"].toString(),
            token[u"digits"],
            token[u"period"]};
}

} // namespace

namespace FreeOtpPlusBackup {

bool recognizes(const BackupContent &content)
{
    return content.json[u"tokens"].isArray();
}

std::expected<ImportBatch, TransferError> read(const BackupContent &content)
{
    return ForeignEntry::batchFrom(content.json[u"tokens"].toArray(), entryOf);
}

} // namespace FreeOtpPlusBackup
