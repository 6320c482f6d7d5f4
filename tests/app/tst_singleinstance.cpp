#include "app/SingleInstance.h"

#include <QSignalSpy>
#include <QUuid>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secondLaunchAsksTheFirstToShow();
    void lockIsFreedWithItsOwner();
};

void TestSingleInstance::secondLaunchAsksTheFirstToShow()
{
    const QString name = u"corvane-test-"_s + QUuid::createUuid().toString(QUuid::Id128);
    SingleInstance first(name);
    QVERIFY(first.claim());
    QSignalSpy shows(&first, &SingleInstance::showRequested);

    SingleInstance second(name);
    QVERIFY(!second.claim());
    QVERIFY(second.notifiedRunning());
    QVERIFY(shows.wait());
}

void TestSingleInstance::lockIsFreedWithItsOwner()
{
    const QString name = u"corvane-test-"_s + QUuid::createUuid().toString(QUuid::Id128);
    {
        SingleInstance first(name);
        QVERIFY(first.claim());
    }
    SingleInstance next(name);
    QVERIFY(next.claim());
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
