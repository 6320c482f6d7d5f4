#include "app/TrayIcon.h"

#include "engine/Logging.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QMenu>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString watcherPath = u"/StatusNotifierWatcher"_s;

} // namespace

TrayIcon::TrayIcon(bool waitForHost, QDBusConnection bus, QObject *parent) : QObject(parent), m_bus(std::move(bus))
{
    if (!waitForHost) {
        create();
        return;
    }
    auto *watcher = new QDBusServiceWatcher(watcherService, m_bus, QDBusServiceWatcher::WatchForRegistration, this);
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, &TrayIcon::checkHost);
    m_bus.connect(watcherService, watcherPath, watcherService, u"StatusNotifierHostRegistered"_s, this,
                  SLOT(checkHost()));
    checkHost();
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::setToolTip(const QString &text)
{
    m_toolTip = text;
    if (m_icon)
        m_icon->setToolTip(text);
}

void TrayIcon::setIcon(const QIcon &icon)
{
    m_image = icon;
    if (m_icon)
        m_icon->setIcon(icon);
}

void TrayIcon::setContextMenu(QMenu *menu)
{
    m_menu = menu;
    if (m_icon)
        m_icon->setContextMenu(menu);
}

void TrayIcon::show()
{
    m_shown = true;
    if (m_icon)
        m_icon->show();
}

bool TrayIcon::isAvailable() const
{
    // Qt's own answer only once the icon exists: asking earlier would fix its choice.
    return m_icon && QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::checkHost()
{
    if (m_icon)
        return;
    QDBusMessage get =
        QDBusMessage::createMethodCall(watcherService, watcherPath, u"org.freedesktop.DBus.Properties"_s, u"Get"_s);
    get << watcherService << u"IsStatusNotifierHostRegistered"_s;
    auto *call = new QDBusPendingCallWatcher(m_bus.asyncCall(get), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *done) {
        done->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *done;
        if (reply.isError() || !reply.value().variant().toBool() || m_icon)
            return;
        qCInfo(lcApp) << "a tray turned up; showing the icon there";
        create();
    });
}

void TrayIcon::create()
{
    m_icon = std::make_unique<QSystemTrayIcon>(m_image);
    m_icon->setToolTip(m_toolTip);
    m_icon->setContextMenu(m_menu);
    connect(m_icon.get(), &QSystemTrayIcon::activated, this, &TrayIcon::activated);
    if (m_shown)
        m_icon->show();
}
