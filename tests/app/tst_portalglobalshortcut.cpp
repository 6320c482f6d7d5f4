#include "app/PortalGlobalShortcut.h"
#include "support/PortalBus.h"

#include <QDBusContext>
#include <QDBusMessage>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

using Shortcut = PortalGlobalShortcut::Shortcut;

// The desktop portal's GlobalShortcuts interface, served from a bus connection of its
// own: every request is answered on its request object, as the portal does.
class FakeShortcutsPortal : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")

public:
    static inline const QString session = u"/org/freedesktop/portal/desktop/session/1/corvane"_s;
    uint bindResponse = 0; // 1: the person declined
    QString trigger;

public Q_SLOTS:
    QDBusObjectPath CreateSession(const QVariantMap &options)
    {
        return respond(options, 0, {{u"session_handle"_s, session}});
    }
    // The full type name: QtDBus finds the argument type by the name moc records.
    QDBusObjectPath BindShortcuts(const QDBusObjectPath &, QList<PortalGlobalShortcut::Shortcut> shortcuts,
                                  const QString &, const QVariantMap &options)
    {
        for (Shortcut &shortcut : shortcuts)
            shortcut.properties.insert(u"trigger_description"_s, trigger);
        return respond(options, bindResponse, {{u"shortcuts"_s, QVariant::fromValue(shortcuts)}});
    }

Q_SIGNALS:
    void Activated(const QDBusObjectPath &session, const QString &id, qulonglong timestamp, const QVariantMap &options);

private:
    QDBusObjectPath respond(const QVariantMap &options, uint response, const QVariantMap &results)
    {
        const QString path = u"/org/freedesktop/portal/desktop/request/%1/%2"_s.arg(
            message().service().mid(1).replace(u'.', u'_'), options.value(u"handle_token"_s).toString());
        QDBusMessage answer = QDBusMessage::createSignal(path, u"org.freedesktop.portal.Request"_s, u"Response"_s);
        answer << response << results;
        QMetaObject::invokeMethod(
            this, [bus = connection(), answer] { bus.send(answer); }, Qt::QueuedConnection);
        return QDBusObjectPath(path);
    }
};

class TestPortalGlobalShortcut : public QObject
{
    Q_OBJECT

    FakeShortcutsPortal m_portal;

private Q_SLOTS:
    void initTestCase()
    {
        PortalGlobalShortcut::registerTypes();
        servePortal(m_portal);
    }

    void bindsAndActivates_data()
    {
        QTest::addColumn<uint>("bindResponse");
        QTest::addColumn<QString>("trigger");
        QTest::newRow("bound with keys the person chose") << 0u << u"Super+O"_s;
        QTest::newRow("declined") << 1u << QString();
    }
    void bindsAndActivates()
    {
        QFETCH(uint, bindResponse);
        QFETCH(QString, trigger);
        m_portal.bindResponse = bindResponse;
        m_portal.trigger = trigger;
        PortalGlobalShortcut shortcut(u"toggle-panel"_s, u"显示或隐藏"_s, u"CTRL+ALT+k"_s);
        QSignalSpy bound(&shortcut, &PortalGlobalShortcut::bound);
        QSignalSpy failed(&shortcut, &PortalGlobalShortcut::failed);
        QSignalSpy activated(&shortcut, &PortalGlobalShortcut::activated);
        QTRY_COMPARE(bound.count() + failed.count(), 1);
        QCOMPARE(failed.count(), int(bindResponse != 0));
        if (bindResponse != 0)
            return;
        QCOMPARE(bound.constFirst().constFirst().toString(), trigger);
        // Only its own shortcut in its own session counts.
        const QDBusObjectPath session(FakeShortcutsPortal::session), other(u"/other"_s);
        Q_EMIT m_portal.Activated(session, u"other"_s, 1, {});
        Q_EMIT m_portal.Activated(other, u"toggle-panel"_s, 2, {});
        Q_EMIT m_portal.Activated(session, u"toggle-panel"_s, 3, {});
        QTRY_COMPARE(activated.count(), 1);
        QTest::qWait(100);
        QCOMPARE(activated.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestPortalGlobalShortcut)

#include "tst_portalglobalshortcut.moc"
