#include "engine/OTPAuthParser.h"

#include <QTest>

#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {
const QString secret = u"JBSWY3DPEHPK3PXP"_s;

QString link(const QString &label, const QString &query = {})
{
    return u"otpauth://totp/"_s + label + u"?secret="_s + secret + query;
}

void accepted(const char *tag, const QString &text, const QString &name, const QString &issuer, qint64 period = 30,
              qint64 digits = 6, const QString &expectedSecret = secret)
{
    QTest::newRow(tag) << text << std::optional(ImportedToken{name, issuer, expectedSecret, period, digits});
}
} // namespace

class TstOTPAuthParser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<std::optional<ImportedToken>>("expected");
        // Label and issuer.
        accepted("issuer:account label", link(u"Ex:al"_s), u"al"_s, u"Ex"_s);
        accepted("query issuer wins", link(u"Ex:al"_s, u"&issuer=Q"_s), u"al"_s, u"Q"_s);
        accepted("empty query issuer wins", link(u"Ex:al"_s, u"&issuer="_s), u"al"_s, QString());
        accepted("duplicate issuer, first wins", link(u"Ex:al"_s, u"&issuer=One&ISSUER=Two"_s), u"al"_s, u"One"_s);
        accepted("label without colon", link(u"al"_s), u"al"_s, QString());
        accepted("two colons split at the first", link(u"a:b:c"_s), u"b:c"_s, u"a"_s);
        accepted("only colon last", link(u"Ex:"_s), u"Ex:"_s, QString());
        accepted("only colon first", link(u":al"_s), u":al"_s, QString());
        accepted("leading colon does not use the split", link(u":a:b"_s), u"b"_s, u"a"_s);
        accepted("space after colon kept", link(u"Ex:%20al"_s), u" al"_s, u"Ex"_s);
        accepted("escaped colon splits", link(u"Ex%3Aal"_s), u"al"_s, u"Ex"_s);
        accepted("slashes trimmed at the ends only", link(u"/%2Fa%2Fb%2F/"_s), u"a/b"_s, QString());
        accepted("UTF-8 escapes", link(u"Caf%C3%A9:Jos%C3%A9"_s), u"José"_s, u"Café"_s);
        accepted("no label", u"otpauth://totp?issuer=Q&secret="_s + secret, QString(), u"Q"_s);
        accepted("%25 then hex decodes twice", link(u"%2541%253Ab"_s), u"b"_s, u"A"_s);
        accepted("%25 then non-hex empties label", link(u"Ex:%25zz"_s, u"&issuer=Q"_s), QString(), u"Q"_s);
        accepted("%25 at the end empties label", link(u"Ex:al%25"_s), QString(), QString());
        accepted("non-UTF-8 label is empty", link(u"Ex:%FF"_s), QString(), QString());
        accepted("non-UTF-8 after second decoding", link(u"Ex:%25C3"_s), QString(), QString());

        // Query items.
        accepted("names in any case, secret as written",
                 u"otpauth://totp/al?SECRET=Ab%20c+d%2B-&Issuer=eX&PERIOD=60&Digits=8"_s, u"al"_s, u"eX"_s, 60, 8,
                 u"Ab c+d+-"_s);
        accepted("other items ignored", link(u"al"_s, u"&algorithm=SHA256&&image=x"_s), u"al"_s, QString());
        accepted("upper-case scheme, whitespace around", u" \t\nOTPAUTH://TOTP/al?secret="_s + secret + u"\r\n"_s,
                 u"al"_s, QString());

        // Numbers: what is not a whole 64-bit number keeps the default.
        const auto numbers = [](const char *tag, const QString &query, qint64 period, qint64 digits) {
            accepted(tag, link(u"al"_s, query), u"al"_s, QString(), period, digits);
        };
        numbers("letters, empty", u"&period=abc&digits="_s, 30, 6);
        numbers("plus sign", u"&period=+15&digits=+8"_s, 15, 8);
        numbers("zero, negative", u"&period=0&digits=-5"_s, 0, -5);
        numbers("fraction, sign only", u"&period=1.5&digits=-"_s, 30, 6);
        numbers("leading space", u"&period=%2015&digits=%208"_s, 30, 6);
        numbers("overflow", u"&period=99999999999999999999&digits=99999999999999999999"_s, 30, 6);
        numbers("2^63 overflows, -2^63 fits", u"&period=9223372036854775808&digits=-9223372036854775808"_s, 30,
                std::numeric_limits<qint64>::min());
        numbers("duplicates, first wins", u"&period=60&digits=7&period=90&DIGITS=8"_s, 60, 7);

        // Not a usable link.
        const std::optional<ImportedToken> none;
        QTest::newRow("empty text") << QString() << none;
        QTest::newRow("HOTP host") << u"otpauth://hotp/Ex:al?counter=1&secret="_s + secret << none;
        QTest::newRow("other scheme") << u"https://totp/Ex:al?secret="_s + secret << none;
        QTest::newRow("no //") << u"otpauth:totp/Ex:al?secret="_s + secret << none;
        QTest::newRow("no secret") << u"otpauth://totp/Ex:al?issuer=Ex"_s << none;
        QTest::newRow("empty secret") << u"otpauth://totp/Ex:al?secret=&issuer=Ex"_s << none;
        QTest::newRow("secret without =") << u"otpauth://totp/Ex:al?secret"_s << none;
        QTest::newRow("secret twice, other case") << link(u"al"_s, u"&Secret="_s + secret) << none;
        QTest::newRow("space inside") << link(u"Ex:a l"_s) << none;
        QTest::newRow("unescaped non-ASCII") << link(u"Café:al"_s) << none;
        QTest::newRow("% without hex digits") << link(u"Ex:%zz"_s) << none;
        QTest::newRow("non-UTF-8 query value") << link(u"al"_s, u"&issuer=%FF"_s) << none;
    }

    void parse()
    {
        QFETCH(QString, link);
        QTEST(OTPAuthParser::parse(link), "expected");
    }
};

QTEST_APPLESS_MAIN(TstOTPAuthParser)
#include "tst_otpauthparser.moc"
