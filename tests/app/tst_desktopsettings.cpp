#include "app/DesktopSettings.h"
#include "support/PortalBus.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

using Scheme = DesktopSettings::ColorScheme;

// The desktop portal's Settings interface, served from a bus connection of its own.
class FakePortal : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    QHash<QString, QVariant> values; // by "group/key"
    int reads = 0; // by this process: other tests' apps may share the bus

public Q_SLOTS:
    QDBusVariant Read(const QString &group, const QString &key)
    {
        if (message().service() == QDBusConnection::sessionBus().baseService())
            ++reads;
        const QString name = group + u'/' + key;
        if (!values.contains(name))
            sendErrorReply(u"org.freedesktop.portal.Error.NotFound"_s, name);
        // The portal wraps the value in a second variant.
        return QDBusVariant(QVariant::fromValue(QDBusVariant(values.value(name))));
    }

Q_SIGNALS:
    void SettingChanged(const QString &group, const QString &key, const QDBusVariant &value);
};

class TestDesktopSettings : public QObject
{
    Q_OBJECT

    FakePortal m_portal;

private Q_SLOTS:
    void initTestCase() { servePortal(m_portal); }
    void init()
    {
        m_portal.values.clear();
        m_portal.reads = 0;
    }

    void followsPortal_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<Scheme>("scheme");
        QTest::addColumn<bool>("reduceMotion");
        const QString appearance = u"org.freedesktop.appearance"_s, scheme = u"color-scheme"_s;
        const QString gnome = u"org.gnome.desktop.interface"_s, kde = u"org.kde.kdeglobals.KDE"_s;
        QTest::newRow("dark") << appearance << scheme << QVariant(1u) << Scheme::Dark << false;
        QTest::newRow("light") << appearance << scheme << QVariant(2u) << Scheme::Light << false;
        QTest::newRow("no preference") << appearance << scheme << QVariant(0u) << Scheme::NoPreference << false;
        QTest::newRow("unknown scheme") << appearance << scheme << QVariant(9u) << Scheme::NoPreference << false;
        QTest::newRow("GNOME animations off")
            << gnome << u"enable-animations"_s << QVariant(false) << Scheme::NoPreference << true;
        QTest::newRow("GNOME animations on")
            << gnome << u"enable-animations"_s << QVariant(true) << Scheme::NoPreference << false;
        QTest::newRow("KDE animations off")
            << kde << u"AnimationDurationFactor"_s << QVariant(0.0) << Scheme::NoPreference << true;
        QTest::newRow("KDE animations slow")
            << kde << u"AnimationDurationFactor"_s << QVariant(2.0) << Scheme::NoPreference << false;
        QTest::newRow("other setting") << appearance << u"accent-color"_s << QVariant(1u) << Scheme::NoPreference
                                       << false;
    }
    // Read at start, and changed live on an instance that started without the setting.
    void followsPortal()
    {
        QFETCH(QString, group);
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QFETCH(Scheme, scheme);
        QFETCH(bool, reduceMotion);
        DesktopSettings live;
        QTRY_COMPARE(m_portal.reads, 3);
        m_portal.values.insert(group + u'/' + key, value);
        DesktopSettings atStart;
        QSignalSpy schemeSpy(&live, &DesktopSettings::colorSchemeChanged);
        Q_EMIT m_portal.SettingChanged(group, key, QDBusVariant(value));
        for (const DesktopSettings *settings : {&atStart, &live}) {
            QTRY_COMPARE(settings->colorScheme(), scheme);
            QTRY_COMPARE(settings->reduceMotion(), reduceMotion);
        }
        QCOMPARE(schemeSpy.count(), scheme == Scheme::NoPreference ? 0 : 1);
        QTRY_COMPARE(m_portal.reads, 6);
    }
    // The scheme seen last time stands until the portal says it has none.
    void dropsAssumedScheme()
    {
        DesktopSettings settings(QDBusConnection::sessionBus(), Scheme::Dark);
        QSignalSpy schemeSpy(&settings, &DesktopSettings::colorSchemeChanged);
        QCOMPARE(settings.colorScheme(), Scheme::Dark);
        QTRY_COMPARE(settings.colorScheme(), Scheme::NoPreference);
        QCOMPARE(schemeSpy.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestDesktopSettings)

#include "tst_desktopsettings.moc"
