#include "app/SessionLockWatcher.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString sessionPath = u"/org/freedesktop/login1/session/_31"_s;
const QString sessionInterface = u"org.freedesktop.login1.Session"_s;

} // namespace

// A desktop service on a bus connection of its own: answers the methods it was given and
// sends the signals it is told to.
class FakeService : public QDBusVirtualObject
{
public:
    FakeService(const QString &service, const QString &path, QVariantHash answers)
        : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, service)),
          m_answers(std::move(answers))
    {
        m_registered =
            m_bus.registerVirtualObject(path, this, QDBusConnection::SubPath) && m_bus.registerService(service);
    }
    ~FakeService() override { QDBusConnection::disconnectFromBus(m_bus.name()); }

    bool isRegistered() const { return m_registered; }
    QStringList calls;

    void send(const QString &path, const QString &interface, const QString &name, const QVariantList &arguments = {})
    {
        QDBusMessage signal = QDBusMessage::createSignal(path, interface, name);
        signal.setArguments(arguments);
        m_bus.send(signal);
    }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        calls << message.member();
        if (!m_answers.contains(message.member()))
            return false;
        connection.send(message.createReply(m_answers.value(message.member())));
        return true;
    }
    QString introspect(const QString &) const override { return {}; }

private:
    QDBusConnection m_bus;
    QVariantHash m_answers;
    bool m_registered = false;
};

class TestSessionLockWatcher : public QObject
{
    Q_OBJECT

    using Signal = QPair<QString, QVariantList>; // a member and its arguments
    struct Source
    {
        QString service, path, interface;
        QVariantHash answers;
        QString subscribedOn; // the last call the watcher makes before it listens
    };

    static Source screenSaver(const QString &service, const QString &path, bool active)
    {
        return {service, path, service, {{u"GetActive"_s, active}}, u"GetActive"_s};
    }
    static Source logind(bool lockedHint)
    {
        return {u"org.freedesktop.login1"_s,
                u"/org/freedesktop/login1"_s,
                sessionInterface,
                {{u"GetSession"_s, QVariant::fromValue(QDBusObjectPath(sessionPath))},
                 {u"Get"_s, QVariant::fromValue(QDBusVariant(lockedHint))}},
                u"Get"_s};
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!QDBusConnection::sessionBus().isConnected()) {
            if (qgetenv("CI") == "true")
                QFAIL("no session bus");
            QSKIP("no session bus");
        }
    }

    void locksAndUnlocks_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("lockedAtStart");
        QTest::addColumn<QList<Signal>>("lock");
        QTest::addColumn<QList<Signal>>("unlock");
        const auto active = [](bool on) { return QList<Signal>{{u"ActiveChanged"_s, {on}}}; };
        const auto hint = [](bool on) {
            return QList<Signal>{
                {u"PropertiesChanged"_s, {sessionInterface, QVariantMap{{u"LockedHint"_s, on}}, QStringList()}}};
        };
        QTest::newRow("freedesktop screensaver") << u"freedesktop"_s << false << active(true) << active(false);
        QTest::newRow("GNOME screensaver") << u"gnome"_s << false << active(true) << active(false);
        QTest::newRow("GNOME screensaver active at start") << u"gnome"_s << true << QList<Signal>() << active(false);
        QTest::newRow("logind Lock and Unlock")
            << u"logind"_s << false << QList<Signal>{{u"Lock"_s, {}}} << QList<Signal>{{u"Unlock"_s, {}}};
        QTest::newRow("logind LockedHint") << u"logind"_s << false << hint(true) << hint(false);
        QTest::newRow("logind LockedHint at start") << u"logind"_s << true << QList<Signal>() << hint(false);
        // The screensaver and logind both tell of one lock: it is announced once.
        QTest::newRow("lock told twice") << u"logind"_s << false << (hint(true) << Signal{u"Lock"_s, {}})
                                         << (QList<Signal>{{u"Unlock"_s, {}}} << hint(false));
    }

    // Each source on its own, the others missing; logind's stand-in serves on the session bus.
    void locksAndUnlocks()
    {
        QFETCH(QString, kind);
        QFETCH(bool, lockedAtStart);
        QFETCH(QList<Signal>, lock);
        QFETCH(QList<Signal>, unlock);
        const Source source =
            kind == u"logind"_s ? logind(lockedAtStart)
            : kind == u"gnome"_s
                ? screenSaver(u"org.gnome.ScreenSaver"_s, u"/org/gnome/ScreenSaver"_s, lockedAtStart)
                : screenSaver(u"org.freedesktop.ScreenSaver"_s, u"/org/freedesktop/ScreenSaver"_s, lockedAtStart);
        FakeService service(source.service, source.path, source.answers);
        QVERIFY(service.isRegistered());
        SessionLockWatcher watcher(QDBusConnection::sessionBus(), QDBusConnection::sessionBus());
        QSignalSpy changes(&watcher, &SessionLockWatcher::lockedChanged);
        QTRY_VERIFY(service.calls.contains(source.subscribedOn));
        QTRY_COMPARE(watcher.isLocked(), lockedAtStart);
        const QString signalPath = kind == u"logind"_s ? sessionPath : source.path;
        const auto send = [&](const QList<Signal> &batch) {
            for (const auto &[name, arguments] : batch)
                service.send(signalPath,
                             name == u"PropertiesChanged"_s ? u"org.freedesktop.DBus.Properties"_s : source.interface,
                             name, arguments);
        };
        send(lock);
        QTRY_VERIFY(watcher.isLocked());
        send(unlock);
        QTRY_VERIFY(!watcher.isLocked());
        QCOMPARE(changes.size(), 2);
        QCOMPARE(changes.first().first().toBool(), true);
    }
};

QTEST_GUILESS_MAIN(TestSessionLockWatcher)
#include "tst_sessionlockwatcher.moc"
