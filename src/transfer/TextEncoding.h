#pragma once

#include <QByteArray>
#include <QStringView>

#include <optional>

// Strict decoders for the binary fields of backup files: a stray character is an error,
// not something to skip.
namespace TextEncoding {

std::optional<QByteArray> fromHex(QStringView text);
std::optional<QByteArray> fromBase64(QStringView text);

} // namespace TextEncoding
