#include "store/CodeTable.h"
#include "support/StoreFixture.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestCodeTable : public QObject
{
    Q_OBJECT

    CodeTable m_table;
    QList<QUuid> m_asked; // the accounts whose secret the table asked for
    std::optional<QUuid> m_noSecret;

    bool refresh(const QList<TokenAccount> &accounts, double at)
    {
        return m_table.refresh(
            accounts,
            [this](const QUuid &id) {
                m_asked << id;
                return id == m_noSecret ? std::nullopt : std::optional(rfcSecret);
            },
            at);
    }

private Q_SLOTS:
    void init()
    {
        m_table = {};
        m_asked.clear();
        m_noSecret.reset();
    }

    void followsTimeSteps()
    {
        const TokenAccount thirty{QUuid::createUuid(), u"thirty"_s, {}, 30, 6};
        const TokenAccount sixty{QUuid::createUuid(), u"sixty"_s, {}, 60, 6};
        QVERIFY(refresh({thirty, sixty}, 45));
        const auto codes = [this] { return m_table.codes(); };
        QCOMPARE(codes().value(thirty.id), u"287082"_s); // step 1
        const QString sixtyFirst = codes().value(sixty.id); // step 0
        QVERIFY(refresh({thirty, sixty}, 60));
        QVERIFY(codes().value(thirty.id) != u"287082"_s);
        QCOMPARE(codes().value(sixty.id), u"287082"_s); // step 1 of the longer period
        QVERIFY(refresh({thirty, sixty}, 59.9)); // the clock went back
        QCOMPARE(codes().value(thirty.id), u"287082"_s);
        QCOMPARE(codes().value(sixty.id), sixtyFirst);
        QVERIFY(refresh({sixty}, 59.9)); // a code of an account no longer listed goes
        QCOMPARE(codes().keys(), QList{sixty.id});
    }

    // Within a step only an account without a code asks for its secret again.
    void quietWithinAStep()
    {
        const TokenAccount a{QUuid::createUuid(), u"a"_s, {}, 30, 6}, b{QUuid::createUuid(), u"b"_s, {}, 30, 6};
        m_noSecret = b.id;
        QVERIFY(refresh({a, b}, 60));
        QCOMPARE(m_asked, (QList{a.id, b.id}));
        QVERIFY(!refresh({a, b}, 60.5));
        QVERIFY(!refresh({a, b}, 89.99));
        QCOMPARE(m_asked, (QList{a.id, b.id, b.id, b.id}));
        QVERIFY(!m_table.codes().contains(b.id));
        QVERIFY(refresh({a, b}, 90));
        m_table.forget(a.id);
        QVERIFY(refresh({a, b}, 90)); // forgotten: computed again at once
        QVERIFY(m_table.codes().contains(a.id));
    }

    void unusableAccountsGetNoCode_data()
    {
        QTest::addColumn<qint64>("period");
        QTest::addColumn<qint64>("digits");
        QTest::addColumn<double>("date");
        QTest::newRow("period 0") << qint64(0) << qint64(6) << 59.0;
        QTest::newRow("negative period") << qint64(-30) << qint64(6) << 59.0;
        QTest::newRow("ten digits") << qint64(30) << qint64(10) << 59.0;
        QTest::newRow("date beyond 64-bit steps") << qint64(1) << qint64(6) << 1e300;
    }

    void unusableAccountsGetNoCode()
    {
        QFETCH(qint64, period);
        QFETCH(qint64, digits);
        QFETCH(double, date);
        const TokenAccount odd{QUuid::createUuid(), u"odd"_s, {}, period, digits};
        const TokenAccount fine{QUuid::createUuid(), u"fine"_s, {}, 30, 6};
        refresh({odd, fine}, date);
        QVERIFY(!m_table.codes().contains(odd.id));
        QCOMPARE(m_table.codes().contains(fine.id), date < 1e18);
    }
};

QTEST_GUILESS_MAIN(TestCodeTable)
#include "tst_codetable.moc"
