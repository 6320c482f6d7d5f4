#include "app/PortalGlobalShortcut.h"

#include "app/DesktopPortal.h"
#include "engine/Logging.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString shortcutsInterface = u"org.freedesktop.portal.GlobalShortcuts"_s;

} // namespace

QDBusArgument &operator<<(QDBusArgument &argument, const PortalGlobalShortcut::Shortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalGlobalShortcut::Shortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

namespace {

// Results arrive as D-Bus arguments until demarshalled into the registered type.
QList<PortalGlobalShortcut::Shortcut> shortcutsIn(const QVariantMap &results)
{
    QList<PortalGlobalShortcut::Shortcut> entries;
    const QVariant value = results.value(u"shortcuts"_s);
    if (value.canConvert<QDBusArgument>())
        value.value<QDBusArgument>() >> entries;
    return entries;
}

} // namespace

void PortalGlobalShortcut::registerTypes()
{
    // Also the Activated slot's argument types: QtDBus looks them up by name.
    qRegisterMetaType<QDBusObjectPath>();
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QList<Shortcut>>();
}

PortalGlobalShortcut::PortalGlobalShortcut(const QString &id, const QString &description,
                                           const QString &preferredTrigger, QDBusConnection bus, QObject *parent)
    : QObject(parent),
      m_id(id),
      m_description(description),
      m_preferredTrigger(preferredTrigger),
      m_bus(std::move(bus))
{
    registerTypes();
    // QtDBus connects bus signals by slot signature only.
    m_bus.connect(DesktopPortal::service, DesktopPortal::path, shortcutsInterface, u"Activated"_s, this,
                  SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    request(u"CreateSession"_s, {}, {{u"session_handle_token"_s, u"corvane"_s}},
            SLOT(onSessionCreated(uint, QVariantMap)));
}

void PortalGlobalShortcut::request(const QString &method, QList<QVariant> arguments, QVariantMap options,
                                   const char *slot)
{
    // The portal names the request object after our bus name and the token, so its
    // answer can be awaited before the call goes out.
    const QString token = u"corvane%1"_s.arg(++m_requests);
    const QString sender = m_bus.baseService().mid(1).replace(u'.', u'_');
    const QString path = u"%1/request/%2/%3"_s.arg(DesktopPortal::path, sender, token);
    m_bus.connect(DesktopPortal::service, path, u"org.freedesktop.portal.Request"_s, u"Response"_s, this, slot);
    options.insert(u"handle_token"_s, token);
    QDBusMessage call =
        QDBusMessage::createMethodCall(DesktopPortal::service, DesktopPortal::path, shortcutsInterface, method);
    call.setArguments(arguments << options);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, method](QDBusPendingCallWatcher *done) {
        done->deleteLater();
        if (!done->isError())
            return;
        qCInfo(lcApp) << "no global shortcut through the desktop portal:" << method << done->error().name();
        Q_EMIT failed();
    });
}

void PortalGlobalShortcut::onSessionCreated(uint response, const QVariantMap &results)
{
    m_session = QDBusObjectPath(results.value(u"session_handle"_s).toString());
    if (response != 0 || m_session.path().isEmpty()) {
        Q_EMIT failed();
        return;
    }
    const QVariantMap properties{{u"description"_s, m_description}, {u"preferred_trigger"_s, m_preferredTrigger}};
    const QList<PortalGlobalShortcut::Shortcut> shortcuts{{m_id, properties}};
    request(u"BindShortcuts"_s, {QVariant::fromValue(m_session), QVariant::fromValue(shortcuts), QString()}, {},
            SLOT(onBound(uint, QVariantMap)));
}

void PortalGlobalShortcut::onBound(uint response, const QVariantMap &results)
{
    for (const PortalGlobalShortcut::Shortcut &entry : shortcutsIn(results)) {
        if (response == 0 && entry.id == m_id) {
            Q_EMIT bound(entry.properties.value(u"trigger_description"_s).toString());
            return;
        }
    }
    Q_EMIT failed();
}

void PortalGlobalShortcut::onActivated(const QDBusObjectPath &session, const QString &id, qulonglong,
                                       const QVariantMap &)
{
    if (session == m_session && id == m_id)
        Q_EMIT activated();
}
