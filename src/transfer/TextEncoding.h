#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// Strict decoders for the binary fields of backup files: a stray character is an error,
// not something to skip.
namespace TextEncoding {

std::optional<QByteArray> fromHex(QStringView text);
std::optional<QByteArray> fromBase64(QStringView text);

// RFC 4648 Base32 without padding: the one spelling of these bytes every reader takes.
QString toBase32(QByteArrayView bytes);
// A secret as the Base32 of the bytes it decodes to (the same codes, and a length every
// strict decoder accepts); the text unchanged when it is not Base32.
QString canonicalBase32(const QString &secret);

} // namespace TextEncoding
