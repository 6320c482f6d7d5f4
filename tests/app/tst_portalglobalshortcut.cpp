#include "app/PortalGlobalShortcut.h"
#include "support/PortalBus.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

using Shortcut = PortalGlobalShortcut::Shortcut;

// The desktop portal's GlobalShortcuts interface. KDE Plasma 5.27's takes the shortcuts
// from CreateSession and binds nothing later.
class FakeShortcutsPortal : public PortalStandIn
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")

public:
    static inline const QString session = u"/org/freedesktop/portal/desktop/session/1/corvane"_s;
    uint bindResponse = 0; // 1: the person declined
    QString trigger;
    bool plasma527 = false;
    int binds = 0;

public Q_SLOTS:
    QDBusObjectPath CreateSession(const QVariantMap &options)
    {
        QVariantMap results{{u"session_handle"_s, session}};
        if (plasma527)
            results.insert(u"shortcuts"_s, triggered(qdbus_cast<QList<Shortcut>>(options.value(u"shortcuts"_s))));
        return respond(options, 0, results);
    }
    // The full type name: QtDBus finds the argument type by the name moc records.
    QDBusObjectPath BindShortcuts(const QDBusObjectPath &, QList<PortalGlobalShortcut::Shortcut> shortcuts,
                                  const QString &, const QVariantMap &options)
    {
        ++binds;
        return respond(options, bindResponse, {{u"shortcuts"_s, triggered(plasma527 ? QList<Shortcut>() : shortcuts)}});
    }

Q_SIGNALS:
    void Activated(const QDBusObjectPath &session, const QString &id, qulonglong timestamp, const QVariantMap &options);

private:
    QVariant triggered(QList<Shortcut> shortcuts) const
    {
        for (Shortcut &shortcut : shortcuts)
            shortcut.properties.insert(u"trigger_description"_s, trigger);
        return QVariant::fromValue(shortcuts);
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
        QTest::addColumn<bool>("plasma527");
        QTest::addColumn<uint>("bindResponse");
        QTest::addColumn<QString>("trigger");
        QTest::newRow("bound with keys the person chose") << false << 0u << u"Super+O"_s;
        QTest::newRow("declined") << false << 1u << QString();
        QTest::newRow("taken with the session, empty bind") << true << 0u << u"Ctrl+Alt+K"_s;
    }
    void bindsAndActivates()
    {
        QFETCH(bool, plasma527);
        QFETCH(uint, bindResponse);
        QFETCH(QString, trigger);
        m_portal.plasma527 = plasma527;
        m_portal.bindResponse = bindResponse;
        m_portal.trigger = trigger;
        m_portal.binds = 0;
        PortalGlobalShortcut shortcut(u"toggle-panel"_s, u"显示或隐藏"_s, u"CTRL+ALT+k"_s);
        QSignalSpy bound(&shortcut, &PortalGlobalShortcut::bound);
        QSignalSpy failed(&shortcut, &PortalGlobalShortcut::failed);
        QSignalSpy activated(&shortcut, &PortalGlobalShortcut::activated);
        QTRY_COMPARE(bound.count() + failed.count(), 1);
        QCOMPARE(failed.count(), int(bindResponse != 0));
        if (bindResponse != 0)
            return;
        QCOMPARE(bound.constFirst().constFirst().toString(), trigger);
        QCOMPARE(m_portal.binds, int(!plasma527));
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
