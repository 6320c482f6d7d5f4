#include "engine/TOTPGenerator.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QTextBoundaryFinder>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr quint8 kDropped = 0xFE;
constexpr quint8 kInvalid = 0xFF;

// What each ASCII character contributes once upper-cased: its Base32 value, nothing
// (whitespace, "-", "="), or the end of the secret.
constexpr std::array<quint8, 128> kAsciiTable = [] {
    std::array<quint8, 128> table{};
    table.fill(kInvalid);
    for (int i = 0; i < 26; ++i) {
        table['A' + i] = quint8(i);
        table['a' + i] = quint8(i);
    }
    for (int i = 0; i < 6; ++i)
        table['2' + i] = quint8(26 + i);
    for (char c : {' ', '\t', '\n', '\v', '\f', '\r', '-', '='})
        table[quint8(c)] = kDropped;
    return table;
}();

// CR LF is one grapheme made of whitespace only; a space carrying a combining mark is not
// whitespace and so stays, to be rejected.
bool isDroppedGrapheme(QStringView grapheme)
{
    if (grapheme == u"-" || grapheme == u"=")
        return true;
    for (QChar c : grapheme) {
        if (!c.isSpace())
            return false;
    }
    return true;
}

// Calls `visit` with every grapheme of the upper-cased text that normalisation keeps;
// false as soon as `visit` is.
template <typename Visit> bool forEachKeptGrapheme(const QString &upper, Visit &&visit)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, upper);
    qsizetype start = 0;
    while (start < upper.size()) {
        qsizetype end = finder.toNextBoundary();
        if (end <= start)
            end = upper.size();
        const QStringView grapheme = QStringView(upper).sliced(start, end - start);
        if (!isDroppedGrapheme(grapheme) && !visit(grapheme))
            return false;
        start = end;
    }
    return true;
}

template <typename Bytes> class Base32Sink
{
public:
    explicit Base32Sink(Bytes &out) : m_out(out) {}

    void add(quint8 value)
    {
        // Bits pushed out of the top are never read again, so the shift may discard them.
        m_accumulator = (m_accumulator << 5) | value;
        m_bits += 5;
        if (m_bits >= 8) {
            m_out.push_back(char((m_accumulator >> (m_bits - 8)) & 0xFF));
            m_bits -= 8;
        }
    }

private:
    Bytes &m_out;
    quint64 m_accumulator = 0;
    int m_bits = 0;
};

// Pure ASCII text splits into one grapheme per character (CR LF, the one exception, is
// dropped either way), so a table lookup per character gives the same bytes as the
// grapheme walk, without its allocations.
template <typename Bytes> bool decodeInto(const QString &text, Bytes &out)
{
    Base32Sink<Bytes> sink(out);
    bool ascii = true;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x80) {
            ascii = false;
            break;
        }
        const quint8 value = kAsciiTable[u];
        if (value == kInvalid)
            return false;
        if (value != kDropped)
            sink.add(value);
    }
    if (ascii)
        return true;

    out.clear();
    Base32Sink<Bytes> slowSink(out);
    return forEachKeptGrapheme(text.toUpper(), [&](QStringView grapheme) {
        const char16_t u = grapheme.size() == 1 ? grapheme.front().unicode() : 0xFFFF;
        const quint8 value = u < 0x80 ? kAsciiTable[u] : kInvalid;
        if (value >= kDropped)
            return false;
        slowSink.add(value);
        return true;
    });
}

constexpr std::array<quint32, 10> kPowersOfTen = {
    1u, 10u, 100u, 1000u, 10000u, 100000u, 1000000u, 10000000u, 100000000u, 1000000000u,
};

QCryptographicHash::Algorithm hashOf(HashAlgorithm algorithm)
{
    switch (algorithm) {
    case HashAlgorithm::Sha256:
        return QCryptographicHash::Sha256;
    case HashAlgorithm::Sha512:
        return QCryptographicHash::Sha512;
    case HashAlgorithm::Sha1:
        break;
    }
    return QCryptographicHash::Sha1;
}

// The low `digits` decimal digits, leading zeros kept. Zero digits still print the single
// "0" a zero-width field gives.
QString decimalText(quint32 truncated, qint64 digits)
{
    quint32 value = truncated % kPowersOfTen[digits];
    QString result(qMax<qint64>(digits, 1), u'0');
    QChar *out = result.data() + result.size();
    for (; value != 0; value /= 10)
        *--out = QChar(char16_t(u'0' + value % 10));
    return result;
}

// Steam Guard's form: base-26 digits of the value in its own alphabet, least significant first.
QString steamText(quint32 truncated, qint64 digits)
{
    static constexpr char16_t kSteamAlphabet[] = u"23456789BCDFGHJKMNPQRTVWXY";
    constexpr quint32 base = std::size(kSteamAlphabet) - 1;
    QString result;
    result.reserve(digits);
    for (qint64 i = 0; i < digits; ++i, truncated /= base)
        result.append(QChar(kSteamAlphabet[truncated % base]));
    return result;
}

// ASCII splits into one grapheme per character (CR LF, the one exception, is dropped
// either way), so a character filter gives what the grapheme walk gives, much faster.
QString asciiNormalized(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        if (kAsciiTable[c.unicode()] != kDropped)
            result.append(c.toUpper());
    }
    return result;
}

} // namespace

namespace TOTPGenerator {

QString normalize(const QString &text)
{
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return asciiNormalized(text);
    const QString upper = text.toUpper();
    QString result;
    result.reserve(upper.size());
    forEachKeptGrapheme(upper, [&](QStringView grapheme) {
        result.append(grapheme);
        return true;
    });
    return result;
}

std::expected<QString, TOTPError> normalizeBounded(const QString &text)
{
    // Normalising drops only dropped characters and never shortens the rest, so counting
    // the others gives a lower bound of the result's length; the count stops once it is over.
    qsizetype kept = 0;
    for (QChar c : text) {
        if (!(c.isSpace() || c == u'-' || c == u'=') && ++kept > maximumSecretLength)
            return std::unexpected(TOTPError::secretTooLong);
    }
    QString normal = normalize(text);
    if (normal.size() > maximumSecretLength)
        return std::unexpected(TOTPError::secretTooLong);
    return normal;
}

std::optional<QByteArray> decodeBase32(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 5 / 8 + 1);
    if (!decodeInto(text, bytes))
        return std::nullopt;
    return bytes;
}

std::expected<QString, TOTPError> code(const QString &secret, double date, qint64 period, qint64 digits,
                                       HashAlgorithm algorithm, bool steam)
{
    // Outside these bounds the counter would not fit its integer type.
    if (period < 1 || !std::isfinite(date) || date < 0)
        return std::unexpected(TOTPError::invalidSecret);
    const double steps = std::floor(date / double(period));
    if (!(steps < 0x1p64))
        return std::unexpected(TOTPError::invalidSecret);
    return counterCode(secret, quint64(steps), digits, algorithm, steam);
}

std::expected<QString, TOTPError> code(const QString &secret, double date, const OtpParameters &otp)
{
    if (otp.isHotp())
        return counterCode(secret, otp.counter, otp.digits, otp.algorithm);
    return code(secret, date, otp.period, otp.digits, otp.algorithm, otp.isSteam());
}

std::expected<QString, TOTPError> counterCode(const QString &secret, quint64 counter, qint64 digits,
                                              HashAlgorithm algorithm, bool steam)
{
    // Outside these bounds the modulus would not fit its integer type.
    if (digits < (steam ? 1 : 0) || digits > 9)
        return std::unexpected(TOTPError::invalidSecret);

    // 128 bytes keep any realistic key (up to 204 Base32 characters) off the heap.
    QVarLengthArray<char, 128> key;
    if (!decodeInto(secret, key) || key.isEmpty())
        return std::unexpected(TOTPError::invalidSecret);

    std::array<char, 8> message;
    for (int i = 0; i < 8; ++i)
        message[i] = char((counter >> (56 - 8 * i)) & 0xFF);

    const QByteArray mac =
        QMessageAuthenticationCode::hash(QByteArray::fromRawData(message.data(), message.size()),
                                         QByteArray::fromRawData(key.constData(), key.size()), hashOf(algorithm));
    const auto byte = [&mac](qsizetype i) { return quint32(quint8(mac.at(i))); };
    const qsizetype offset = byte(mac.size() - 1) & 0x0F;
    const quint32 truncated =
        ((byte(offset) & 0x7F) << 24) | (byte(offset + 1) << 16) | (byte(offset + 2) << 8) | byte(offset + 3);
    return steam ? steamText(truncated, digits) : decimalText(truncated, digits);
}

} // namespace TOTPGenerator
