#include "app/SingleInstance.h"

#include <QDBusConnection>
#include <QSignalSpy>
#include <QUuid>
#include <QtTest>

#include <sys/stat.h>

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

    // Activation alone, which shows the panel, is the end-to-end test's. A FIFO is refused
    // at once: reading it would wait for a writer.
    void secondLaunchPassesItsRegularFiles()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"a.txt"_s), fifo = dir.filePath(u"fifo"_s);
        QVERIFY(QFile(file).open(QIODevice::WriteOnly));
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        const QStringList uris{QUrl::fromLocalFile(file).toString(), QUrl::fromLocalFile(fifo).toString()};
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
        QCOMPARE(opens.first().first().toStringList(), QStringList{file});
        QCOMPARE(second.refusal(), u"只能导入普通文件："_s + fifo);
    }

    // `corvane --toggle` and its siblings, for keys bound in the desktop's settings.
    void secondLaunchAsksForAnAction_data()
    {
        QTest::addColumn<QString>("action");
        for (const QString &action : {u"toggle"_s, u"show"_s, u"hide"_s})
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

    // Quitting gives the name up first, while the process may still be finishing: a launch
    // meanwhile starts a new instance instead of asking one that no longer answers.
    void releasedNameLetsTheNextLaunchRun_data()
    {
        QTest::addColumn<bool>("bus");
        QTest::newRow("bus name") << true;
        QTest::newRow("lock file") << false;
    }
    void releasedNameLetsTheNextLaunchRun()
    {
        QFETCH(bool, bus);
        const QString name = uniqueName();
        const auto link = [&](const QString &end) { return bus ? connection(name + end) : QDBusConnection(u"none"_s); };
        SingleInstance first(name, link(u"-first"_s));
        QVERIFY(first.claim());
        first.release();
        SingleInstance second(name, link(u"-second"_s));
        QVERIFY(second.claim());
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
