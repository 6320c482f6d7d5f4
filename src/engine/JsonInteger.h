#pragma once

#include <QJsonValue>
#include <QtGlobal>

#include <optional>

// Whole numbers in JSON documents, read exactly: Qt keeps a JSON integer that fits 64 bits
// as such, so it is taken as it is; any other number only when it is integral and in range.
namespace JsonInteger {

// A number of the signed 64-bit range; absent for anything else.
std::optional<qint64> toSigned(const QJsonValue &value);
// A number of the unsigned 64-bit range, such as a HOTP counter; absent for anything else.
std::optional<quint64> toUnsigned(const QJsonValue &value);

} // namespace JsonInteger
