#include "OTPAuthParser.h"

#include <QTest>

#include <limits>

using namespace Qt::Literals::StringLiterals;

class TstOTPAuthParser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
};

namespace {

const QString secret = u"JBSWY3DPEHPK3PXP"_s;

void accepted(const char *tag, const QString &link, const QString &name, const QString &issuer,
              qint64 period = 30, qint64 digits = 6, const QString &expectedSecret = secret)
{
    QTest::newRow(tag) << link << true << name << issuer << expectedSecret << period << digits;
}

void rejected(const char *tag, const QString &link)
{
    QTest::newRow(tag) << link << false << QString() << QString() << QString() << 0ll << 0ll;
}

} // namespace

void TstOTPAuthParser::parse_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("issuer");
    QTest::addColumn<QString>("secret");
    QTest::addColumn<qint64>("period");
    QTest::addColumn<qint64>("digits");

    const QString base = u"otpauth://totp/Ex:al?secret="_s + secret;

    // Label and issuer.
    accepted("issuer:account label", base, u"al"_s, u"Ex"_s);
    accepted("query issuer wins", base + u"&issuer=Q"_s, u"al"_s, u"Q"_s);
    accepted("empty query issuer wins", base + u"&issuer="_s, u"al"_s, QString());
    accepted("issuer item without =", base + u"&issuer"_s, u"al"_s, QString());
    accepted("label without colon", u"otpauth://totp/al?secret="_s + secret, u"al"_s, QString());
    accepted("label without colon, query issuer", u"otpauth://totp/al?issuer=Q&secret="_s + secret, u"al"_s, u"Q"_s);
    accepted("two colons split at the first", u"otpauth://totp/a:b:c?secret="_s + secret, u"b:c"_s, u"a"_s);
    accepted("only colon last", u"otpauth://totp/Ex:?secret="_s + secret, u"Ex:"_s, QString());
    accepted("only colon first", u"otpauth://totp/:al?secret="_s + secret, u":al"_s, QString());
    accepted("leading colon does not use the split", u"otpauth://totp/:a:b?secret="_s + secret, u"b"_s, u"a"_s);
    accepted("space after colon kept", u"otpauth://totp/Ex:%20al?secret="_s + secret, u" al"_s, u"Ex"_s);
    accepted("escaped colon splits", u"otpauth://totp/Ex%3Aal?secret="_s + secret, u"al"_s, u"Ex"_s);
    accepted("slashes trimmed at the ends only", u"otpauth://totp//%2Fa%2Fb%2F/?secret="_s + secret, u"a/b"_s, QString());
    accepted("UTF-8 escapes", u"otpauth://totp/Caf%C3%A9:Jos%C3%A9?secret="_s + secret, u"José"_s, u"Café"_s);
    accepted("no label", u"otpauth://totp?issuer=Q&secret="_s + secret, QString(), u"Q"_s);
    accepted("%25 then hex decodes twice", u"otpauth://totp/%2541%253Ab?secret="_s + secret, u"b"_s, u"A"_s);
    accepted("%25 then non-hex empties label", u"otpauth://totp/Ex:%25zz?issuer=Q&secret="_s + secret, QString(), u"Q"_s);
    accepted("%25 at the end empties label", u"otpauth://totp/Ex:al%25?secret="_s + secret, QString(), QString());
    accepted("non-UTF-8 label is empty", u"otpauth://totp/Ex:%FF?secret="_s + secret, QString(), QString());
    accepted("non-UTF-8 after second decoding", u"otpauth://totp/Ex:%25C3?secret="_s + secret, QString(), QString());

    // Query items.
    accepted("upper-case names, values keep case", u"otpauth://totp/al?SECRET=AbC&Issuer=eX&PERIOD=60&Digits=8"_s,
             u"al"_s, u"eX"_s, 60, 8, u"AbC"_s);
    accepted("secret as written, + kept", u"otpauth://totp/al?secret=ab%20c+d%2B-"_s, u"al"_s, QString(), 30, 6,
             u"ab c+d+-"_s);
    accepted("other items ignored", base + u"&algorithm=SHA256&&image=x"_s, u"al"_s, u"Ex"_s);
    accepted("duplicate issuer, first wins", base + u"&issuer=One&ISSUER=Two"_s, u"al"_s, u"One"_s);
    accepted("upper-case scheme and host", u"OTPAUTH://TOTP/Ex:al?secret="_s + secret, u"al"_s, u"Ex"_s);
    accepted("whitespace around", u" \t\n"_s + base + u"\r\n "_s, u"al"_s, u"Ex"_s);

    // Numbers.
    accepted("period letters", base + u"&period=abc"_s, u"al"_s, u"Ex"_s, 30);
    accepted("period empty", base + u"&period="_s, u"al"_s, u"Ex"_s, 30);
    accepted("period +15", base + u"&period=+15"_s, u"al"_s, u"Ex"_s, 15);
    accepted("period 0", base + u"&period=0"_s, u"al"_s, u"Ex"_s, 0);
    accepted("period -5", base + u"&period=-5"_s, u"al"_s, u"Ex"_s, -5);
    accepted("period fraction", base + u"&period=1.5"_s, u"al"_s, u"Ex"_s, 30);
    accepted("period sign only", base + u"&period=-"_s, u"al"_s, u"Ex"_s, 30);
    accepted("period leading space", base + u"&period=%2015"_s, u"al"_s, u"Ex"_s, 30);
    accepted("period overflow", base + u"&period=99999999999999999999"_s, u"al"_s, u"Ex"_s, 30);
    accepted("period 2^63 overflows", base + u"&period=9223372036854775808"_s, u"al"_s, u"Ex"_s, 30);
    accepted("period -2^63", base + u"&period=-9223372036854775808"_s, u"al"_s, u"Ex"_s,
             std::numeric_limits<qint64>::min());
    accepted("duplicate period, first wins", base + u"&period=60&period=90"_s, u"al"_s, u"Ex"_s, 60);
    accepted("digits letters", base + u"&digits=six"_s, u"al"_s, u"Ex"_s, 30, 6);
    accepted("digits empty", base + u"&digits="_s, u"al"_s, u"Ex"_s, 30, 6);
    accepted("digits +8", base + u"&digits=+8"_s, u"al"_s, u"Ex"_s, 30, 8);
    accepted("digits 0", base + u"&digits=0"_s, u"al"_s, u"Ex"_s, 30, 0);
    accepted("digits -5", base + u"&digits=-5"_s, u"al"_s, u"Ex"_s, 30, -5);
    accepted("digits overflow", base + u"&digits=99999999999999999999"_s, u"al"_s, u"Ex"_s, 30, 6);

    // Not a usable link.
    rejected("empty text", QString());
    rejected("bare secret", secret);
    rejected("HOTP host", u"otpauth://hotp/Ex:al?counter=1&secret="_s + secret);
    rejected("other scheme", u"https://totp/Ex:al?secret="_s + secret);
    rejected("no //", u"otpauth:totp/Ex:al?secret="_s + secret);
    rejected("no secret", u"otpauth://totp/Ex:al?issuer=Ex"_s);
    rejected("no query", u"otpauth://totp/Ex:al"_s);
    rejected("empty secret", u"otpauth://totp/Ex:al?secret=&issuer=Ex"_s);
    rejected("secret without =", u"otpauth://totp/Ex:al?secret"_s);
    rejected("secret twice", base + u"&secret=ABCD"_s);
    rejected("secret twice, other case", base + u"&Secret="_s + secret);
    rejected("space inside", u"otpauth://totp/Ex:a l?secret="_s + secret);
    rejected("unescaped non-ASCII", u"otpauth://totp/Café:al?secret="_s + secret);
    rejected("% without hex digits", u"otpauth://totp/Ex:%zz?secret="_s + secret);
    rejected("non-UTF-8 query value", base + u"&issuer=%FF"_s);
}

void TstOTPAuthParser::parse()
{
    QFETCH(QString, link);
    QFETCH(bool, valid);

    const std::optional<ImportedToken> token = OTPAuthParser::parse(link);
    QCOMPARE(token.has_value(), valid);
    if (!valid)
        return;
    QTEST(token->name, "name");
    QTEST(token->issuer, "issuer");
    QTEST(token->secret, "secret");
    QTEST(token->period, "period");
    QTEST(token->digits, "digits");
}

QTEST_APPLESS_MAIN(TstOTPAuthParser)
#include "tst_otpauthparser.moc"
