#include "transfer/MigrationLink.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {
const QString pi = u"pi@raspberrypi|"_s;
const QString piSecret = u"|7KSQL2JTUDIS5EF65KLMRQIIGY|6"_s;

// Each account as "name|issuer|secret|digits" (then "|algorithm" unless SHA1, and "|#counter"
// for HOTP), then each refusal as "label: reason".
QStringList rows(const MigrationBatch &batch)
{
    QStringList result;
    for (const ImportedToken &token : batch.accounts.tokens) {
        QStringList fields{token.name, token.issuer, token.secret, QString::number(token.otp.digits)};
        if (token.otp.algorithm != HashAlgorithm::Sha1)
            fields << algorithmName(token.otp.algorithm);
        if (token.otp.isHotp())
            fields << u"#"_s + QString::number(token.otp.counter);
        result << fields.join(u'|');
    }
    for (const ImportBatch::Refusal &refusal : batch.accounts.refused)
        result << refusal.label + u": "_s + refusal.reason;
    return result;
}
} // namespace

class TstMigrationLink : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("data");
        QTest::addColumn<QStringList>("accounts");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("count");
        // From the test data of dim13/otpauth and of scito/extract_otp_secrets.
        QTest::newRow("dim13 Example") << u"CjEKCkhlbGxvId6tvu8SGEV4YW1wbGU6YWxpY2VAZ29vZ2xlLmNvbRoHRXhhbXBsZTAC"_s
                                       << QStringList{u"alice@google.com|Example|JBSWY3DPEHPK3PXP|6"_s} << 0 << 1;
        QTest::newRow("with issuer")
            << u"CjUKEPqlBekzoNEukL7qlsjBCDYSDnBpQHJhc3BiZXJyeXBpGgtyYXNwYmVycnlwaSABKAEwAhABGAEgACjr4JKK%2B%2F%2F%2F%2F%2F8B"_s
            << QStringList{pi + u"raspberrypi"_s + piSecret} << 0 << 1;
        QTest::newRow("two accounts") << u"CigKEPqlBekzoNEukL7qlsjBCDYSDnBpQHJhc3BiZXJyeXBpIAEoATACCjUKEPqlBekzoNEukL7q"
                                         u"lsjBCDYSDnBpQHJhc3BiZXJyeXBp"
                                         "GgtyYXNwYmVycnlwaSABKAEwAhABGAEgACiQ7OOa%2Bf%2F%2F%2F%2F8B"_s
                                      << QStringList{pi + piSecret, pi + u"raspberrypi"_s + piSecret} << 0 << 1;
        QTest::newRow("HOTP with its counter")
            << u"CiUKEPqlBekzoNEukL7qlsjBCDYSCWhvdHAgZGVtbyABKAEwATgEEAEYASAAKNuv15j6%2F%2F%2F%2F%2FwE%3D"_s
            << QStringList{u"hotp demo||7KSQL2JTUDIS5EF65KLMRQIIGY|6|#4"_s} << 0 << 1;
        QTest::newRow("UTF-8 name keeps its colon")
            << u"CjYKEPqlBekzoNEukL7qlsjBCDYSHGVuY29kaW5nOiDCv8Okw4TDqcOJPyAoZGVtbykgASgBMAIQARgBIAAorfCurv%2F%2F%2F%2F%2F%2FAQ%3D%3D"_s
            << QStringList{u"encoding: ¿äÄéÉ? (demo)|"_s + piSecret} << 0 << 1;
        // Generated: "Co:bo" of issuer "Co" with other parameters and batches.
        QTest::newRow("SHA256 and eight digits, unknown digits")
            << u"ChgKBQECAwQFEgVDbzpibxoCQ28gAigCMAIKFQoCYWISBUNvOmJvGgJDbyADKAcwAhABGAEgAA%3D%3D"_s
            << QStringList{u"bo|Co|AEBAGBAF|8|SHA256"_s, u"Co（bo）: 密钥或参数无效。"_s} << 0 << 1;
        QTest::newRow("MD5, unknown algorithm and type")
            << u"ChQKAWESBUNvOmJvGgJDbyAEKAEwAgoUCgFhEgVDbzpibxoCQ28gCSgBMAIKFAoBYRIFQ286Ym8aAkNvIAEoATAAEAEYASAA"_s
            << QStringList{u"Co（bo）: 不支持的算法：MD5。"_s, u"Co（bo）: 不支持的算法：#9。"_s,
                           u"Co（bo）: 不支持的验证码类型：#0。"_s}
            << 0 << 1;
        QTest::newRow("second of three") << u"Ch0KCmFiY2RlZmdoaWoSBUNvOmJvGgJDbyABKAEwAhABGAMgAQ%3D%3D"_s
                                         << QStringList{u"bo|Co|MFRGGZDFMZTWQ2LK|6"_s} << 1 << 3;
        QTest::newRow("index outside the count") << u"Ch0KCmFiY2RlZmdoaWoSBUNvOmJvGgJDbyABKAEwAhABGAMgAw%3D%3D"_s
                                                 << QStringList{u"bo|Co|MFRGGZDFMZTWQ2LK|6"_s} << 0 << 1;
    }

    void parse()
    {
        QFETCH(QString, data);
        const auto batch = MigrationLink::parse(u"\n OTPAUTH-MIGRATION://offline?data="_s + data + u" "_s);
        QVERIFY(batch);
        QTEST(rows(*batch), "accounts");
        QTEST(batch->index, "index");
        QTEST(batch->count, "count");
    }

    void damaged_data()
    {
        QTest::addColumn<QString>("link");
        QTest::newRow("not Base64") << u"otpauth-migration://offline?data=%%%"_s;
        QTest::newRow("no data") << u"otpauth-migration://offline?x=CgA"_s;
        QTest::newRow("other host") << u"otpauth-migration://online?data=CjEKCkhlbGxv"_s;
        QTest::newRow("truncated message") << u"otpauth-migration://offline?data=CjEKCkhlbGxv"_s;
        QTest::newRow("huge") << u"otpauth-migration://offline?data="_s + QString(70000, u'A');
    }

    void damaged()
    {
        QFETCH(QString, link);
        QCOMPARE(MigrationLink::parse(link), std::unexpected(TransferError(TransferError::Kind::damagedLink)));
    }
};

QTEST_GUILESS_MAIN(TstMigrationLink)
#include "tst_migrationlink.moc"
