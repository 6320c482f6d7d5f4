#include "app/SingleInstance.h"

#include <QDBusConnection>
#include <QSignalSpy>
#include <QUuid>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

// Each instance talks over its own bus connection, as separate processes would.
class TestSingleInstance : public QObject
{
    Q_OBJECT

    static QString uniqueName() { return u"org.corvane.Test.t"_s + QUuid::createUuid().toString(QUuid::Id128); }
    static QDBusConnection connection(const QString &name)
    {
        return QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs a session bus"); }

    // Activation alone, which shows the panel, is the end-to-end test's.
    void secondLaunchPassesItsFiles()
    {
        const QStringList uris{u"file:///tmp/a.png"_s, u"file:///tmp/b.txt"_s};
        const QString name = uniqueName();
        SingleInstance first(name, connection(name + u"-first"_s));
        QVERIFY(first.claim());
        QSignalSpy shows(&first, &SingleInstance::showRequested);
        QSignalSpy opens(&first, &SingleInstance::openRequested);

        SingleInstance second(name, connection(name + u"-second"_s));
        QVERIFY(!second.claim(uris));
        QVERIFY(second.notifiedRunning());
        QCOMPARE(shows.size(), 0);
        QCOMPARE(opens.size(), 1);
        QCOMPARE(opens.first().first().toStringList(), uris);
    }

    // `corvane --toggle` and its siblings, for keys bound in the desktop's settings.
    void secondLaunchAsksForAnAction_data()
    {
        QTest::addColumn<QString>("action");
        for (const QString &action : SingleInstance::actions)
            QTest::newRow(qPrintable(action)) << action;
    }
    void secondLaunchAsksForAnAction()
    {
        QFETCH(QString, action);
        const QString name = uniqueName();
        SingleInstance first(name, connection(name + u"-first"_s));
        QVERIFY(first.claim());
        QSignalSpy actions(&first, &SingleInstance::actionRequested);
        QSignalSpy shows(&first, &SingleInstance::showRequested);
        SingleInstance second(name, connection(name + u"-second"_s));
        QVERIFY(!second.claim({}, action) && second.notifiedRunning());
        QCOMPARE(actions.size(), 1);
        QCOMPARE(actions.first().first().toString(), action);
        QCOMPARE(shows.size(), 0);
    }

    void lockFileKeepsASecondOutWithoutABus()
    {
        const QString name = uniqueName();
        const QDBusConnection none(u"no bus"_s);
        SingleInstance first(name, none);
        QVERIFY(first.claim());
        SingleInstance second(name, none);
        QVERIFY(!second.claim());
        QVERIFY(!second.notifiedRunning());
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
