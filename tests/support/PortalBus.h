#pragma once

#include <QDBusConnection>
#include <QTest>

// Serves `portal` as the desktop portal's object from a bus connection of its own (named, so
// it stays open). In CI a missing session bus is a failure, elsewhere a reason to skip.
inline void servePortal(QObject &portal)
{
    using namespace Qt::Literals::StringLiterals;
    if (!QDBusConnection::sessionBus().isConnected()) {
        if (qgetenv("CI") == "true")
            QFAIL("no session bus");
        QSKIP("no session bus");
    }
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"portal"_s);
    QVERIFY(bus.registerObject(u"/org/freedesktop/portal/desktop"_s, &portal,
                               QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
    QVERIFY(bus.registerService(u"org.freedesktop.portal.Desktop"_s));
}
