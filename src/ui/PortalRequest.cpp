#include "ui/PortalRequest.h"

#include "engine/Logging.h"
#include "ui/DesktopPortal.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>

#include <utility>

using namespace Qt::Literals::StringLiterals;

PortalRequest::PortalRequest(QObject *parent) : QObject(parent) {}

PortalRequest *PortalRequest::send(QDBusConnection bus, const QString &interface, const QString &method,
                                   QList<QVariant> arguments, QVariantMap options, QObject *parent)
{
    static int requests = 0;
    const QString token = u"corvane%1"_s.arg(++requests);
    const QString sender = bus.baseService().mid(1).replace(u'.', u'_');
    const QString path = u"%1/request/%2/%3"_s.arg(DesktopPortal::path, sender, token);
    auto *request = new PortalRequest(parent);
    bus.connect(DesktopPortal::service, path, u"org.freedesktop.portal.Request"_s, u"Response"_s, request,
                SLOT(onResponse(uint, QVariantMap)));
    options.insert(u"handle_token"_s, token);
    QDBusMessage call = QDBusMessage::createMethodCall(DesktopPortal::service, DesktopPortal::path, interface, method);
    call.setArguments(arguments << options);
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), request);
    connect(watcher, &QDBusPendingCallWatcher::finished, request, [request, method](QDBusPendingCallWatcher *done) {
        done->deleteLater();
        if (!done->isError())
            return;
        qCInfo(lcUi) << "the desktop portal did not take" << method << done->error().name();
        request->onResponse(Failed, {});
    });
    return request;
}

void PortalRequest::onResponse(uint response, const QVariantMap &results)
{
    if (std::exchange(m_answered, true))
        return;
    Q_EMIT answered(response, results);
    deleteLater();
}
