#include "app/SessionLockWatcher.h"
#include "support/Require.h"

#include <QtDBus>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString logind = u"org.freedesktop.login1"_s;
const QString sessionPath = u"/org/freedesktop/login1/session/_31"_s;
const QString sessionInterface = u"org.freedesktop.login1.Session"_s;

QDBusMessage signal(const QString &path, const QString &interface, const QString &name, const QVariantList &arguments)
{
    QDBusMessage message = QDBusMessage::createSignal(path, interface, name);
    message.setArguments(arguments);
    return message;
}

} // namespace

// A desktop service under its name on a bus connection of its own: logind's manager and
// session, or a screensaver, saying at start whether it is locked.
class FakeService : public QDBusVirtualObject
{
public:
    FakeService(const QString &service, bool locked)
        : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, service))
    {
        if (service == logind)
            m_answers = {{u"GetSession"_s, QVariant::fromValue(QDBusObjectPath(sessionPath))},
                         {u"Get"_s, QVariant::fromValue(QDBusVariant(locked))}};
        else
            m_answers = {{u"GetActive"_s, locked}};
        const QString path =
            service == logind ? u"/org/freedesktop/login1"_s : u'/' + QString(service).replace(u'.', u'/');
        registered =
            m_bus.registerVirtualObject(path, this, QDBusConnection::SubPath) && m_bus.registerService(service);
    }
    ~FakeService() override { QDBusConnection::disconnectFromBus(m_bus.name()); }

    bool registered = false;
    QStringList calls;

    void send(const QList<QDBusMessage> &signals_)
    {
        for (const QDBusMessage &message : signals_)
            m_bus.send(message);
    }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        calls << message.member();
        return m_answers.contains(message.member())
               && connection.send(message.createReply(m_answers.value(message.member())));
    }
    QString introspect(const QString &) const override { return {}; }

private:
    QDBusConnection m_bus;
    QVariantHash m_answers;
};

class TestSessionLockWatcher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CORVANE_REQUIRE(QDBusConnection::sessionBus().isConnected(), "no session bus"); }

    void locksAndUnlocks_data()
    {
        QTest::addColumn<QString>("service");
        QTest::addColumn<bool>("lockedAtStart");
        QTest::addColumn<QList<QDBusMessage>>("lock");
        QTest::addColumn<QList<QDBusMessage>>("unlock");
        const QString freedesktop = u"org.freedesktop.ScreenSaver"_s, gnome = u"org.gnome.ScreenSaver"_s;
        const auto active = [](const QString &service, bool on) {
            const QString path = u'/' + QString(service).replace(u'.', u'/');
            return QList{signal(path, service, u"ActiveChanged"_s, {on})};
        };
        const auto hint = [](bool on) {
            return QList{signal(sessionPath, u"org.freedesktop.DBus.Properties"_s, u"PropertiesChanged"_s,
                                {sessionInterface, QVariantMap{{u"LockedHint"_s, on}}, QStringList()})};
        };
        const auto session = [](const QString &name) { return QList{signal(sessionPath, sessionInterface, name, {})}; };
        QTest::newRow("freedesktop screensaver")
            << freedesktop << false << active(freedesktop, true) << active(freedesktop, false);
        QTest::newRow("GNOME screensaver") << gnome << false << active(gnome, true) << active(gnome, false);
        QTest::newRow("GNOME screensaver active at start")
            << gnome << true << QList<QDBusMessage>() << active(gnome, false);
        QTest::newRow("logind Lock and Unlock") << logind << false << session(u"Lock"_s) << session(u"Unlock"_s);
        QTest::newRow("logind LockedHint") << logind << false << hint(true) << hint(false);
        QTest::newRow("logind LockedHint at start") << logind << true << QList<QDBusMessage>() << hint(false);
        // Two tell of one lock: it is announced once.
        QTest::newRow("lock told twice") << logind << false << hint(true) + session(u"Lock"_s)
                                         << session(u"Unlock"_s) + hint(false);
    }

    // Each source on its own, the others missing; logind's stand-in serves on the session bus.
    void locksAndUnlocks()
    {
        QFETCH(QString, service);
        QFETCH(bool, lockedAtStart);
        QFETCH(QList<QDBusMessage>, lock);
        QFETCH(QList<QDBusMessage>, unlock);
        FakeService fake(service, lockedAtStart);
        QVERIFY(fake.registered);
        SessionLockWatcher watcher(QDBusConnection::sessionBus(), QDBusConnection::sessionBus());
        QSignalSpy changes(&watcher, &SessionLockWatcher::lockedChanged);
        // Its last question before it listens.
        QTRY_VERIFY(fake.calls.contains(service == logind ? u"Get"_s : u"GetActive"_s));
        QTRY_COMPARE(watcher.isLocked(), lockedAtStart);
        fake.send(lock);
        QTRY_VERIFY(watcher.isLocked());
        fake.send(unlock);
        QTRY_VERIFY(!watcher.isLocked());
        QCOMPARE(changes.size(), 2);
        QCOMPARE(changes.first().first().toBool(), true);
    }
};

QTEST_GUILESS_MAIN(TestSessionLockWatcher)
#include "tst_sessionlockwatcher.moc"
