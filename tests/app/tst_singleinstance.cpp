#include "app/SingleInstance.h"

#include <QtDBus>
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

    // A later launch hands its regular files, or its action (`corvane --toggle` and its siblings,
    // for keys bound in the desktop's settings), to the running one. A FIFO is refused at once:
    // reading it would wait for a writer. Activation alone, which shows the panel, is the
    // end-to-end test's.
    void secondLaunchHandsOver_data()
    {
        QTest::addColumn<QString>("action");
        for (const QString &action : {QString(), u"toggle"_s, u"show"_s, u"hide"_s})
            QTest::newRow(action.isEmpty() ? "files" : qPrintable(action)) << action;
    }
    void secondLaunchHandsOver()
    {
        QFETCH(QString, action);
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
        QSignalSpy actions(&first, &SingleInstance::actionRequested);
        SingleInstance second(name, connection(name + u"-second"_s));
        QVERIFY(!second.claim(action.isEmpty() ? uris : QStringList(), action) && second.notifiedRunning());
        QCOMPARE(shows.size() + opens.size() + actions.size(), 1);
        QCOMPARE(opens.value(0).value(0).toStringList(), action.isEmpty() ? QStringList{file} : QStringList());
        QCOMPARE(actions.value(0).value(0).toString(), action);
        QCOMPARE(second.refusal(), action.isEmpty() ? u"只能导入普通文件："_s + fifo : QString());
    }

    // Quitting gives the name up first, while the process may still be finishing: a launch
    // meanwhile starts a new instance instead of asking one that no longer answers. Without a
    // bus a lock file keeps a second launch out, but it cannot reach the first.
    void nameKeepsASecondOutUntilReleased_data()
    {
        QTest::addColumn<bool>("bus");
        QTest::addColumn<bool>("released");
        QTest::newRow("bus name, released") << true << true;
        QTest::newRow("lock file") << false << false;
        QTest::newRow("lock file, released") << false << true;
    }
    void nameKeepsASecondOutUntilReleased()
    {
        QFETCH(bool, bus);
        QFETCH(bool, released);
        const QString name = uniqueName();
        const auto link = [&](const QString &end) { return bus ? connection(name + end) : QDBusConnection(u"none"_s); };
        SingleInstance first(name, link(u"-first"_s));
        QVERIFY(first.claim());
        if (released)
            first.release();
        SingleInstance second(name, link(u"-second"_s));
        QCOMPARE(second.claim(), released);
        QVERIFY(!second.notifiedRunning());
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
