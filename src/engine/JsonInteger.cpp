#include "engine/JsonInteger.h"

#include <QVariant>

#include <cmath>

namespace {

// The integer Qt read exactly, when the value is one.
std::optional<qint64> exactInteger(const QJsonValue &value)
{
    const QVariant number = value.toVariant();
    return number.typeId() == QMetaType::LongLong ? std::optional(number.toLongLong()) : std::nullopt;
}

// The number when it is integral and at least `low` and below `high`.
std::optional<double> integralIn(const QJsonValue &value, double low, double high)
{
    const double number = value.toDouble();
    if (!std::isfinite(number) || std::trunc(number) != number || number < low || number >= high)
        return std::nullopt;
    return number;
}

} // namespace

std::optional<qint64> JsonInteger::toSigned(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    if (const auto exact = exactInteger(value))
        return exact;
    const auto number = integralIn(value, -0x1p63, 0x1p63);
    return number ? std::optional(qint64(*number)) : std::nullopt;
}

std::optional<quint64> JsonInteger::toUnsigned(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    if (const auto exact = exactInteger(value))
        return *exact < 0 ? std::nullopt : std::optional(quint64(*exact));
    const auto number = integralIn(value, 0, 0x1p64);
    return number ? std::optional(quint64(*number)) : std::nullopt;
}
