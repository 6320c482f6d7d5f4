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

void accepted(const char *tag, const QString &text, const QString &name, const QString &issuer,
              const OtpParameters &otp = {}, const QString &expectedSecret = secret)
{
    QTest::newRow(tag) << text << std::optional(ImportedToken{name, issuer, expectedSecret, otp}) << QString();
}

void acceptedCounter(const char *tag, const QString &query, quint64 counter)
{
    accepted(tag, u"otpauth://hotp/Ex:al?secret="_s + secret + query, u"al"_s, u"Ex"_s,
             {.kind = OtpKind::Hotp, .counter = counter});
}

// An empty message: silently not a link.
void refused(const char *tag, const QString &text, const QString &message = {})
{
    QTest::newRow(tag) << text << std::optional<ImportedToken>() << message;
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
        QTest::addColumn<QString>("refusal");
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
        accepted("spaces after colon dropped", link(u"Big%20Corporation%3A%20%20alice%40bigco.com"_s),
                 u"alice@bigco.com"_s, u"Big Corporation"_s);
        accepted("escaped colon splits", link(u"Ex%3Aal"_s), u"al"_s, u"Ex"_s);
        accepted("slashes trimmed at the ends only", link(u"/%2Fa%2Fb%2F/"_s), u"a/b"_s, QString());
        accepted("UTF-8 escapes", link(u"Caf%C3%A9:Jos%C3%A9"_s), u"José"_s, u"Café"_s);
        accepted("no label", u"otpauth://totp?issuer=Q&secret="_s + secret, QString(), u"Q"_s);
        accepted("%25 then hex decodes twice", link(u"%2541%253Ab"_s), u"b"_s, u"A"_s);
        accepted("%25 then non-hex decodes once", link(u"Ex:%25zz%25%5E"_s, u"&issuer=Q"_s), u"%zz%^"_s, u"Q"_s);
        accepted("%25 at the end decodes once", link(u"Ex:al%25"_s), u"al%"_s, u"Ex"_s);
        accepted("non-UTF-8 label is empty", link(u"Ex:%FF"_s), QString(), QString());
        accepted("non-UTF-8 after second decoding", link(u"Ex:%25C3"_s), u"%C3"_s, u"Ex"_s);
        // Hostile names: controls and invisible formatting go (the table is LabelText's).
        accepted("bidi override, NUL, tab", link(u"%E2%80%AEEx%09:a%00b%E2%81%A6c"_s, u"&issuer=%E2%80%ABQ%C2%85"_s),
                 u"abc"_s, u"Q"_s);
        accepted("line separator, DEL", link(u"a%E2%80%A8b%7F"_s), u"ab"_s, QString());

        // Query items.
        accepted("names in any case, secret as written",
                 u"otpauth://totp/al?SECRET=Ab%20c+d%2B-&Issuer=eX&PERIOD=60&Digits=8"_s, u"al"_s, u"eX"_s, {60, 8},
                 u"Ab c+d+-"_s);
        accepted("other items ignored", link(u"al"_s, u"&&image=x&algorithm="_s), u"al"_s, QString());
        accepted("SHA256, 8 digits, 60 s", link(u"al"_s, u"&algorithm=sha256&digits=8&period=60"_s), u"al"_s, QString(),
                 {60, 8, HashAlgorithm::Sha256});
        accepted("SHA512", link(u"al"_s, u"&ALGORITHM=Sha512"_s), u"al"_s, QString(),
                 {.algorithm = HashAlgorithm::Sha512});
        accepted("Steam host", u"otpauth://STEAM/Steam:al?secret="_s + secret + u"&digits=8&algorithm=SHA512"_s,
                 u"al"_s, u"Steam"_s, {.digits = 5, .kind = OtpKind::Steam});
        accepted("Steam encoder", link(u"al"_s, u"&encoder=Steam&period=60"_s), u"al"_s, QString(),
                 {.digits = 5, .kind = OtpKind::Steam});
        accepted("upper-case scheme, whitespace around", u" \t\nOTPAUTH://TOTP/al?secret="_s + secret + u"\r\n"_s,
                 u"al"_s, QString());

        // Numbers: what is not a whole 64-bit number keeps the default.
        const auto numbers = [](const char *tag, const QString &query, qint64 period, qint64 digits) {
            accepted(tag, link(u"al"_s, query), u"al"_s, QString(), {period, digits});
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
        acceptedCounter("HOTP, counter 9", u"&counter=9"_s, 9);
        acceptedCounter("HOTP, no counter is 0", QString(), 0);
        acceptedCounter("HOTP, counter beyond 32 bits", u"&counter=4294967296"_s, 1ull << 32);
        acceptedCounter("HOTP, largest counter", u"&counter=18446744073709551615"_s, ~0ull);
        refused("HOTP, counter beyond 64 bits",
                u"otpauth://hotp/Ex:al?counter=18446744073709551616&secret="_s + secret);
        refused("HOTP, negative counter", u"otpauth://hotp/Ex:al?counter=-1&secret="_s + secret);
        refused("HOTP, counter with a sign", u"otpauth://hotp/Ex:al?counter=+1&secret="_s + secret);
        refused("unknown algorithm", link(u"al"_s, u"&algorithm=MD5"_s),
                u"不支持的算法“MD5”，仅支持 SHA1、SHA256 和 SHA512。"_s);
        refused("empty text", QString());
        refused("other scheme", u"https://totp/Ex:al?secret="_s + secret);
        refused("no //", u"otpauth:totp/Ex:al?secret="_s + secret);
        refused("no secret", u"otpauth://totp/Ex:al?issuer=Ex"_s);
        refused("empty secret", u"otpauth://totp/Ex:al?secret=&issuer=Ex"_s);
        refused("secret without =", u"otpauth://totp/Ex:al?secret"_s);
        refused("secret twice, other case", link(u"al"_s, u"&Secret="_s + secret));
        refused("space inside", link(u"Ex:a l"_s));
        refused("unescaped non-ASCII", link(u"Café:al"_s));
        refused("% without hex digits", link(u"Ex:%zz"_s));
        refused("non-UTF-8 query value", link(u"al"_s, u"&issuer=%FF"_s));
    }

    void parse()
    {
        QFETCH(QString, link);
        const auto parsed = OTPAuthParser::parse(link);
        QTEST(parsed ? std::optional(*parsed) : std::nullopt, "expected");
        QTEST(parsed ? QString() : parsed.error().description(), "refusal");
    }
};

QTEST_APPLESS_MAIN(TstOTPAuthParser)
#include "tst_otpauthparser.moc"
