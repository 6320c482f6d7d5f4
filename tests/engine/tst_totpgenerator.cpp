#include "engine/TOTPGenerator.h"

#include <QRegularExpression>
#include <QTest>

#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {
const QString rfcKey = u"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ"_s; // "12345678901234567890"
const QString hello = u"JBSWY3DPEHPK3PXP"_s;

// An empty `expected` means the call fails with invalidSecret.
void row(const char *name, const QString &secret, double date, const QString &expected, const OtpParameters &otp = {})
{
    QTest::newRow(name) << secret << date << otp << expected;
}
} // namespace

class TstTOTPGenerator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Expected codes: RFC 6238 Appendix B, otherwise `oathtool --totp[=sha256|sha512] -b SECRET -N @DATE`
    // (Python's hmac where oathtool cannot go: 9 digits, counters beyond 2^63, Steam).
    void code_data()
    {
        QTest::addColumn<QString>("secret");
        QTest::addColumn<double>("date");
        QTest::addColumn<OtpParameters>("otp");
        QTest::addColumn<QString>("expected");
        // The RFC's keys are "1234567890" repeated to 20, 32 and 64 bytes.
        const QString rfcKeys[] = {rfcKey, rfcKey + u"GEZDGNBVGY3TQOJQGEZA"_s, rfcKey.repeated(3) + u"GEZDGNA"_s};
        for (const auto &[date, sha1, sha256, sha512] : {std::tuple{59.0, "94287082", "46119246", "90693936"},
                                                         {1111111109.0, "07081804", "68084774", "25091201"},
                                                         {1111111111.0, "14050471", "67062674", "99943326"},
                                                         {1234567890.0, "89005924", "91819424", "93441116"},
                                                         {2000000000.0, "69279037", "90698825", "38618901"},
                                                         {20000000000.0, "65353130", "77737706", "47863826"}}) {
            const char *codes[] = {sha1, sha256, sha512};
            for (const HashAlgorithm algorithm : {HashAlgorithm::Sha1, HashAlgorithm::Sha256, HashAlgorithm::Sha512})
                QTest::addRow("RFC 6238 %s at %.0f", qPrintable(algorithmName(algorithm)), date)
                    << rfcKeys[int(algorithm)] << date << OtpParameters{30, 8, algorithm}
                    << QString::fromLatin1(codes[int(algorithm)]);
        }
        // --digits=8 --time-step-size=60s
        row("SHA256, 8 digits, 60 s", rfcKey, 1700000000.0, u"34855935"_s, {60, 8, HashAlgorithm::Sha256});
        row("SHA512, 8 digits, 60 s", hello, 1111111111.0, u"03185872"_s, {60, 8, HashAlgorithm::Sha512});
        // KeePassXC's and Authenticator Pro's published Steam vectors.
        const QString steamKey = u"63BEDWCQZKTQWPESARIERL5DTTQFCJTK"_s;
        const OtpKind steam = OtpKind::Steam;
        row("Steam", steamKey, 1511200518.0, u"FR8RV"_s, {.digits = 5, .kind = steam});
        row("Steam, next step", steamKey, 1511200714.0, u"9P3VP"_s, {.digits = 5, .kind = steam});
        row("Steam with no characters", steamKey, 0, {}, {.digits = 0, .kind = steam});
        row("29.999 s is still step 0", hello, 29.999, u"282760"_s);
        row("30 s is step 1", hello, 30.0, u"996554"_s);
        row("period 60, 7 digits", hello, 1700000000.0, u"9508648"_s, {60, 7});
        row("typed lower case in groups", u"jbsw y3dp-ehpk 3pxp"_s, 1700000000.0, u"324550"_s);
        row("two characters, one-byte key", u"ME"_s, 1700000000.0, u"671251"_s);
        row("34 characters, 2 bits left over", rfcKey + u"GA"_s, 1700000000.0, u"583602"_s);
        row("70-byte key, longer than a SHA-1 block", u"KRSXG5CTMVRXEZLU"_s.repeated(7), 1700000000.0, u"620804"_s);
        row("largest counter below 2^64", hello, 18446744073709549568.0, u"089415"_s, {1});
        // Value 1554000994: every width keeps its leading zeros.
        const char *widths[] = {"0", "4", "94", "994", "0994", "00994", "000994", "4000994", "54000994", "554000994"};
        for (qint64 digits = 0; digits <= 9; ++digits)
            QTest::addRow("%lld digits", digits)
                << hello << 1700002940.0 << OtpParameters{30, digits} << QString::fromLatin1(widths[digits]);

        row("one character, no byte", u"M"_s, 0, {});
        row("only dropped characters", u" -=\u3000"_s, 0, {});
        row("digit 8", u"JBSWY3DPEHPK3PX8"_s, 0, {});
        for (const auto &[period, digits] : {std::pair{0ll, 6ll}, {-30ll, 6ll}, {30ll, -1ll}, {30ll, 10ll}})
            row(qPrintable(u"period %1, digits %2"_s.arg(period).arg(digits)), hello, 0, {}, {period, digits});
        // The last two put the counter at 2^64 and far beyond.
        const double inf = std::numeric_limits<double>::infinity();
        for (const double date : {std::numeric_limits<double>::quiet_NaN(), inf, -inf, -1.0, 0x1p64 * 30, 1e30})
            row(qPrintable(u"date %1"_s.arg(date)), hello, date, {});
    }

    void code()
    {
        QFETCH(QString, secret);
        QFETCH(double, date);
        QFETCH(OtpParameters, otp);
        const auto result = TOTPGenerator::code(secret, date, otp.period, otp.digits, otp.algorithm, otp.isSteam());
        QTEST(result.value_or(QString()), "expected");
    }

    // RFC 4226 Appendix D, then `oathtool --hotp -b -c COUNTER JBSWY3DPEHPK3PXP`.
    void counterCode_data()
    {
        QTest::addColumn<QString>("secret");
        QTest::addColumn<quint64>("counter");
        QTest::addColumn<QString>("expected");
        const char *appendixD[] = {"755224", "287082", "359152", "969429", "338314",
                                   "254676", "287922", "162583", "399871", "520489"};
        for (quint64 counter = 0; counter < 10; ++counter)
            QTest::addRow("RFC 4226, counter %llu", counter)
                << rfcKey << counter << QString::fromLatin1(appendixD[counter]);
        for (const auto &[counter, code] : {std::pair{0ull, "282760"},
                                            {1ull, "996554"},
                                            {9ull, "924769"},
                                            {128ull, "016751"}, // the counter's low byte has its top bit set
                                            {1ull << 32, "512141"}}) // cut to 32 bits it would be counter 0
            QTest::addRow("oathtool, counter %llu", counter) << hello << quint64(counter) << QString::fromLatin1(code);
    }
    void counterCode()
    {
        QFETCH(QString, secret);
        QFETCH(quint64, counter);
        QTEST(TOTPGenerator::counterCode(secret, counter, 6).value_or(QString()), "expected");
        // An account's parameters give the code of the stored counter, whatever the time.
        const OtpParameters otp{.kind = OtpKind::Hotp, .counter = counter};
        QTEST(TOTPGenerator::code(secret, 1'700'000'000, otp).value_or(QString()), "expected");
    }

    void decoding_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<QByteArray>>("bytes");
        const std::optional<QByteArray> none;
        QTest::newRow("RFC 4648 foobar") << u"MZXW6YTBOI======"_s << std::optional("foobar"_ba);
        QTest::newRow("padding inside and out") << u"MZ=XW6YQ="_s << std::optional("foob"_ba);
        QTest::newRow("lower case, whitespace, hyphens") << u" mzxw-6ytb\toi\r\n"_s << std::optional("foobar"_ba);
        QTest::newRow("no-break and ideographic spaces") << u"MZXW\u00A06YQ\u3000"_s << std::optional("foob"_ba);
        QTest::newRow("sharp s is SS") << u"ß"_s << std::optional("\x94"_ba);
        QTest::newRow("non-zero trailing bits ignored") << u"MZ"_s << std::optional("f"_ba);
        QTest::newRow("one character, no byte") << u"M"_s << std::optional(QByteArray());
        QTest::newRow("only dropped characters") << u" -=\u3000"_s << std::optional(QByteArray());
        for (const char digit : {'0', '1', '8', '9'})
            QTest::addRow("digit %c", digit) << u"MZXW"_s + QLatin1Char(digit) + u"YQ"_s << none;
        QTest::newRow("letter with combining accent") << u"MZXA\u0301"_s << none;
        QTest::newRow("space with combining accent") << u"MZ \u0301XW"_s << none;
        QTest::newRow("full-width letter") << u"MZ\uFF21"_s << none;
    }

    void decoding()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<QByteArray>, bytes);
        QCOMPARE(TOTPGenerator::decodeBase32(text), bytes);
        // normalize() leaves just the alphabet when decoding succeeds, and never mends a failure.
        const QString normal = TOTPGenerator::normalize(text);
        QCOMPARE(TOTPGenerator::decodeBase32(normal), bytes);
        if (bytes)
            QVERIFY2(QRegularExpression(u"^[A-Z2-7]*$"_s).match(normal).hasMatch(), qPrintable(normal));
    }
};

QTEST_APPLESS_MAIN(TstTOTPGenerator)
#include "tst_totpgenerator.moc"
