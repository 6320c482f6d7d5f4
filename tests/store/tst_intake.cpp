#include "store/Intake.h"
#include "support/StoreFixture.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString otherSecret = u"JBSWY3DPEHPK3PXPJBSWY3DPEHPK3PXP"_s;
const QString invalid = u"密钥格式不正确，请使用 Base32 密钥。"_s;
const QString tooLong = u"密钥过长：去掉空格后超过 1024 个字符，请检查粘贴的内容。"_s;

Intake intake(const QList<NewAccount> &held = {}, qsizetype count = 0)
{
    return Intake(59, held, count);
}

} // namespace

class TestIntake : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tokenNormalizesAndCleansNames()
    {
        const auto a = intake().token(
            {u"  al\u202Eice\u0007  "_s, u"Git\u2069Hub"_s, u"gezd gnbv-gy3t\tqojq\ngezd gnbv gy3t qojq=="_s, 30, 6});
        QCOMPARE(a->account.name, u"  alice  "_s); // the add sheet trims; the store does not
        QCOMPARE(a->account.issuer, u"GitHub"_s);
        QCOMPARE(a->secret, rfcSecret);
        QCOMPARE(intake().token({u"\u202E"_s, {}, otherSecret, 60, 8})->account.name, u"验证码"_s);
    }

    void refuses_data()
    {
        QTest::addColumn<bool>("quick");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("not Base32") << false << u"not base32 0189"_s << invalid;
        QTest::newRow("too long by a character") << false << u"a "_s.repeated(1025) << tooLong;
        QTest::newRow("quick: 15 characters") << true << u"GEZDGNBVGY3TQOJ"_s << invalid;
        QTest::newRow("quick: otpauth link") << true << u"otpauth://totp/a?secret=GEZDGNBVGY3TQOJQGEZD"_s << invalid;
        QTest::newRow("quick: a 10 MiB paste") << true << u"JBSWY3DP"_s.repeated(10 << 17) << tooLong;
    }

    void refuses()
    {
        QFETCH(bool, quick);
        QFETCH(QString, text);
        const auto entry = quick ? intake().quick(text) : intake().token({u"b"_s, {}, text, 30, 6});
        QVERIFY(!entry);
        QTEST(entry.error().description(), "error");
    }

    // The quick entry's accounts are named by the count, and a secret held already is found
    // however it is typed.
    void quickNamesAndFindsHolders()
    {
        const auto first = intake().quick(u"gezdgnbvgy3tqojq"_s);
        QCOMPARE(first->account.name, u"验证码"_s);
        QCOMPARE(std::pair(first->account.otp.period, first->account.otp.digits), std::pair(qint64(30), qint64(6)));
        const TokenAccount b{QUuid::createUuid(), u"b"_s, {}, 30, 6};
        const Intake three = intake({{b, otherSecret}}, 3);
        const auto typed = three.quick(u"jbsw y3dp ehpk 3pxp jbsw y3dp ehpk 3pxp"_s);
        QCOMPARE(typed->account.name, u"验证码 4"_s);
        QCOMPARE(three.holder(*typed), b);
        QVERIFY(!three.holder({b, rfcSecret}));
        // A counter-based account with the secret is another account.
        const TokenAccount counting{QUuid::createUuid(), u"c"_s, {}, {.kind = OtpKind::Hotp}};
        QVERIFY(!intake({{counting, otherSecret}}, 1).holder(*typed));
    }

    void batchSetsAsideHeldAndRefused()
    {
        const TokenAccount listed{QUuid::createUuid(), u"A"_s, {}, 30, 6};
        const Intake::Batch batch = intake({{listed, rfcSecret}}, 1)
                                        .batch({
                                            {u"b"_s, u"Ex"_s, otherSecret.toLower(), 30, 6},
                                            {u"listed"_s, {}, rfcSecret, 30, 6},
                                            {u"bad"_s, u"Ex"_s, u"0189"_s, 30, 6},
                                            {u"b again"_s, {}, otherSecret, 30, 6},
                                            {{}, {}, u"ONSWG4TFOQQGC3TE"_s, 60, 8},
                                            {u"c"_s, {}, u"MFRGGZDFMZTWQ2LK"_s, 30, 6},
                                            {u"listed, counting"_s, {}, rfcSecret, {.kind = OtpKind::Hotp}},
                                        });
        QCOMPARE(batch.accounts.size(), 4);
        QCOMPARE(batch.accounts.back().account.otp.kind, OtpKind::Hotp);
        QCOMPARE(batch.summary.alreadyPresent, 2);
        QCOMPARE(batch.summary.refused.size(), 1);
        QCOMPARE(batch.summary.refused.front().name, u"bad"_s);
        QCOMPARE(batch.summary.refused.front().reason, invalid);
        // The keychain took all but the last.
        const KeychainError locked(u"secret-error"_s, 2, u"钥匙串已锁定"_s);
        const ImportSummary summary =
            Intake::summarize(batch, {std::nullopt, std::nullopt, StoreError(locked), std::nullopt});
        QCOMPARE(StoreFixture::names(summary.added), (QStringList{u"b"_s, u"验证码"_s, u"listed, counting"_s}));
        QCOMPARE(summary.added[1].otp.period, 60);
        QCOMPARE(summary.refused.size(), 2);
        QCOMPARE(summary.refused.back().reason, u"钥匙串已锁定"_s);
    }
};

QTEST_GUILESS_MAIN(TestIntake)
#include "tst_intake.moc"
