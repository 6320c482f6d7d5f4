#include "TOTPGenerator.h"

#include <QTest>

#include <limits>

using namespace Qt::Literals::StringLiterals;

class TstTOTPGenerator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void codes_data();
    void codes();
    void decoding_data();
    void decoding();
    void normalize();
    void rejected_data();
    void rejected();
    void errorText();
};

namespace {
const QString rfcKey = u"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ"_s; // "12345678901234567890"
const QString hello = u"JBSWY3DPEHPK3PXP"_s;
} // namespace

// Expected values: RFC 6238 Appendix B, otherwise `oathtool --totp -b SECRET -N @DATE`
// (Python's hmac where oathtool cannot go: 9 digits, counters beyond 2^63).
void TstTOTPGenerator::codes_data()
{
    QTest::addColumn<QString>("secret");
    QTest::addColumn<double>("date");
    QTest::addColumn<qint64>("period");
    QTest::addColumn<qint64>("digits");
    QTest::addColumn<QString>("expected");

    QTest::newRow("RFC 59") << rfcKey << 59.0 << 30ll << 8ll << u"94287082"_s;
    QTest::newRow("RFC 1111111109") << rfcKey << 1111111109.0 << 30ll << 8ll << u"07081804"_s;
    QTest::newRow("RFC 1111111111") << rfcKey << 1111111111.0 << 30ll << 8ll << u"14050471"_s;
    QTest::newRow("RFC 1234567890") << rfcKey << 1234567890.0 << 30ll << 8ll << u"89005924"_s;
    QTest::newRow("RFC 2000000000") << rfcKey << 2000000000.0 << 30ll << 8ll << u"69279037"_s;
    QTest::newRow("RFC 20000000000") << rfcKey << 20000000000.0 << 30ll << 8ll << u"65353130"_s;
    QTest::newRow("epoch") << hello << 0.0 << 30ll << 6ll << u"282760"_s;
    QTest::newRow("29.999 s is still step 0") << hello << 29.999 << 30ll << 6ll << u"282760"_s;
    QTest::newRow("30 s is step 1") << hello << 30.0 << 30ll << 6ll << u"996554"_s;
    QTest::newRow("2023") << hello << 1700000000.0 << 30ll << 6ll << u"324550"_s;
    QTest::newRow("2100") << hello << 4102444800.0 << 30ll << 6ll << u"573258"_s;
    QTest::newRow("period 60, 7 digits") << hello << 1700000000.0 << 60ll << 7ll << u"9508648"_s;
    QTest::newRow("typed lower case in groups") << u"jbsw y3dp-ehpk 3pxp"_s << 1700000000.0 << 30ll << 6ll << u"324550"_s;
    QTest::newRow("two characters, one-byte key") << u"ME"_s << 1700000000.0 << 30ll << 6ll << u"671251"_s;
    QTest::newRow("34 characters, 2 bits left over") << rfcKey + u"GA"_s << 1700000000.0 << 30ll << 6ll << u"583602"_s;
    QTest::newRow("70-byte key, longer than a SHA-1 block")
        << u"KRSXG5CTMVRXEZLU"_s.repeated(7) << 1700000000.0 << 30ll << 6ll << u"620804"_s;
    QTest::newRow("largest counter below 2^64") << hello << 18446744073709549568.0 << 1ll << 6ll << u"089415"_s;

    // Value 1554000994: the same step at every width keeps its leading zeros.
    const char *widths[] = {"0", "4", "94", "994", "0994", "00994", "000994", "4000994", "54000994", "554000994"};
    for (qint64 digits = 0; digits <= 9; ++digits) {
        QTest::addRow("leading zeros, %lld digits", digits)
            << hello << 1700002940.0 << 30ll << digits << QString::fromLatin1(widths[digits]);
    }
}

void TstTOTPGenerator::codes()
{
    QFETCH(QString, secret);
    QFETCH(double, date);
    QFETCH(qint64, period);
    QFETCH(qint64, digits);
    QFETCH(QString, expected);

    const auto code = TOTPGenerator::code(secret, date, period, digits);
    QVERIFY(code);
    QCOMPARE(*code, expected);
}

void TstTOTPGenerator::decoding_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("RFC 4648 foobar") << u"MZXW6YTBOI======"_s << true << "foobar"_ba;
    QTest::newRow("padding inside and out") << u"MZ=XW6YQ="_s << true << "foob"_ba;
    QTest::newRow("lower case, spaces, tab, CRLF, hyphens") << u" mzxw-6ytb\toi\r\n"_s << true << "foobar"_ba;
    QTest::newRow("no-break and ideographic spaces") << u"MZXW\u00A06YQ\u3000"_s << true << "foob"_ba;
    QTest::newRow("sharp s is SS") << u"ß"_s << true << "\x94"_ba;
    QTest::newRow("non-zero trailing bits ignored") << u"MZ"_s << true << "f"_ba;
    QTest::newRow("one character, no byte") << u"M"_s << true << QByteArray();
    QTest::newRow("only dropped characters") << u" -=\u3000"_s << true << QByteArray();
    QTest::newRow("digit 0") << u"MZXW0YQ"_s << false << QByteArray();
    QTest::newRow("digit 1") << u"MZXW1YQ"_s << false << QByteArray();
    QTest::newRow("digit 8") << u"MZXW8YQ"_s << false << QByteArray();
    QTest::newRow("digit 9") << u"MZXW9YQ"_s << false << QByteArray();
    QTest::newRow("plus sign") << u"MZ+XW"_s << false << QByteArray();
    QTest::newRow("letter with combining accent") << u"MZXA\u0301"_s << false << QByteArray();
    QTest::newRow("space with combining accent") << u"MZ \u0301XW"_s << false << QByteArray();
    QTest::newRow("full-width letter") << u"MZ\uFF21"_s << false << QByteArray();
}

void TstTOTPGenerator::decoding()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QByteArray, bytes);

    const std::optional<QByteArray> decoded = TOTPGenerator::decodeBase32(text);
    QCOMPARE(decoded.has_value(), valid);
    if (valid)
        QCOMPARE(*decoded, bytes);
}

void TstTOTPGenerator::normalize()
{
    QCOMPARE(TOTPGenerator::normalize(u" jbsw-y3dp\u00A0ehpk=\r\n"_s), u"JBSWY3DPEHPK"_s);
    QCOMPARE(TOTPGenerator::normalize(u"straße"_s), u"STRASSE"_s);
    QCOMPARE(TOTPGenerator::normalize(u"a\u0301 b"_s), u"A\u0301B"_s);
}

void TstTOTPGenerator::rejected_data()
{
    QTest::addColumn<QString>("secret");
    QTest::addColumn<double>("date");
    QTest::addColumn<qint64>("period");
    QTest::addColumn<qint64>("digits");

    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("empty secret") << QString() << 0.0 << 30ll << 6ll;
    QTest::newRow("one character") << u"M"_s << 0.0 << 30ll << 6ll;
    QTest::newRow("only spaces") << u"   "_s << 0.0 << 30ll << 6ll;
    QTest::newRow("only hyphens") << u"---"_s << 0.0 << 30ll << 6ll;
    QTest::newRow("only padding") << u"===="_s << 0.0 << 30ll << 6ll;
    QTest::newRow("digit 8") << u"JBSWY3DPEHPK3PX8"_s << 0.0 << 30ll << 6ll;
    QTest::newRow("period 0") << hello << 0.0 << 0ll << 6ll;
    QTest::newRow("period -30") << hello << 0.0 << -30ll << 6ll;
    QTest::newRow("digits -1") << hello << 0.0 << 30ll << -1ll;
    QTest::newRow("digits 10") << hello << 0.0 << 30ll << 10ll;
    QTest::newRow("date NaN") << hello << std::numeric_limits<double>::quiet_NaN() << 30ll << 6ll;
    QTest::newRow("date +inf") << hello << inf << 30ll << 6ll;
    QTest::newRow("date -inf") << hello << -inf << 30ll << 6ll;
    QTest::newRow("date before the epoch") << hello << -1.0 << 30ll << 6ll;
    QTest::newRow("counter 2^64") << hello << 18446744073709551616.0 << 1ll << 6ll;
    QTest::newRow("counter 1e30") << hello << 1e30 << 1ll << 6ll;
}

void TstTOTPGenerator::rejected()
{
    QFETCH(QString, secret);
    QFETCH(double, date);
    QFETCH(qint64, period);
    QFETCH(qint64, digits);

    const auto result = TOTPGenerator::code(secret, date, period, digits);
    QVERIFY(!result);
    QVERIFY(result.error() == TOTPError::invalidSecret);
}

void TstTOTPGenerator::errorText()
{
    QCOMPARE(TOTPError::invalidSecret.description(), u"密钥格式不正确，请使用 Base32 密钥。"_s);
}

QTEST_APPLESS_MAIN(TstTOTPGenerator)
#include "tst_totpgenerator.moc"
