#include "transfer/TextEncoding.h"

#include "engine/TOTPGenerator.h"

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

QString toBase32(QByteArrayView bytes)
{
    static constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
    QString text;
    text.reserve(bytes.size() * 8 / 5 + 1);
    quint32 buffer = 0;
    int bits = 0;
    for (const char byte : bytes) {
        buffer = (buffer << 8) | quint8(byte);
        bits += 8;
        while (bits >= 5) {
            bits -= 5;
            text.append(QLatin1Char(alphabet[(buffer >> bits) & 31]));
        }
    }
    if (bits > 0)
        text.append(QLatin1Char(alphabet[(buffer << (5 - bits)) & 31]));
    return text;
}

QString canonicalBase32(const QString &secret)
{
    const std::optional<QByteArray> bytes = TOTPGenerator::decodeBase32(secret);
    return bytes ? toBase32(*bytes) : secret;
}

} // namespace TextEncoding
