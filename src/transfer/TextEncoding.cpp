#include "transfer/TextEncoding.h"

#include <algorithm>

namespace TextEncoding {

std::optional<QByteArray> fromHex(QStringView text)
{
    const auto isHex = [](QChar c) { return c.isDigit() || (c.toLower() >= u'a' && c.toLower() <= u'f'); };
    if (text.size() % 2 != 0
        || !std::all_of(text.begin(), text.end(), [&](QChar c) { return c.unicode() < 128 && isHex(c); }))
        return std::nullopt;
    return QByteArray::fromHex(text.toLatin1());
}

std::optional<QByteArray> fromBase64(QStringView text)
{
    if (!std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 128; }))
        return std::nullopt;
    auto decoded = QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return *decoded;
}

std::optional<quint64> positiveCount(const QJsonValue &value)
{
    const double number = value.toDouble(-1);
    if (!value.isDouble() || number < 1 || number > 0x1p53 || number != double(quint64(number)))
        return std::nullopt;
    return quint64(number);
}

} // namespace TextEncoding
