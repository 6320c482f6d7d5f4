#pragma once

#include "support/Require.h"

#include <QtDBus>

// Serves `portal` as the desktop portal's object from a bus connection of its own (named, so
// it stays open). In CI a missing session bus is a failure, elsewhere a reason to skip.
inline void servePortal(QObject &portal)
{
    using namespace Qt::Literals::StringLiterals;
    CORVANE_REQUIRE(QDBusConnection::sessionBus().isConnected(), "no session bus");
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"portal"_s);
    QVERIFY(bus.registerObject(u"/org/freedesktop/portal/desktop"_s, &portal,
                               QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
    QVERIFY(bus.registerService(u"org.freedesktop.portal.Desktop"_s));
}

// A stand-in portal interface: answers each request on its request object, named after
// the caller and its token, after the call has returned, as the portal does.
class PortalStandIn : public QObject, protected QDBusContext
{
    Q_OBJECT

protected:
    QDBusObjectPath respond(const QVariantMap &options, uint response, const QVariantMap &results)
    {
        using namespace Qt::Literals::StringLiterals;
        const QString path = u"/org/freedesktop/portal/desktop/request/%1/%2"_s.arg(
            message().service().mid(1).replace(u'.', u'_'), options.value(u"handle_token"_s).toString());
        QDBusMessage answer = QDBusMessage::createSignal(path, u"org.freedesktop.portal.Request"_s, u"Response"_s);
        answer << response << results;
        QMetaObject::invokeMethod(
            this, [bus = connection(), answer] { bus.send(answer); }, Qt::QueuedConnection);
        return QDBusObjectPath(path);
    }
};
