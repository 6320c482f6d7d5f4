#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <QStringView>

#include <optional>

// Strict decoders for the binary and count fields of backup files: a stray character is an
// error, not something to skip.
namespace TextEncoding {

std::optional<QByteArray> fromHex(QStringView text);
std::optional<QByteArray> fromBase64(QStringView text);
// A JSON number that is a whole count from 1 to 2^53.
std::optional<quint64> positiveCount(const QJsonValue &value);

// RFC 4648 Base32 without padding: the one spelling of these bytes every reader takes.
QString toBase32(QByteArrayView bytes);
// A secret as the Base32 of the bytes it decodes to (the same codes, and a length every
// strict decoder accepts); the text unchanged when it is not Base32.
QString canonicalBase32(const QString &secret);

} // namespace TextEncoding
