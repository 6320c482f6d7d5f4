#include "app/PortalGlobalShortcut.h"

#include "ui/DesktopPortal.h"
#include "ui/PortalRequest.h"

#include <QDBusArgument>
#include <QDBusMetaType>

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
      m_bus(std::move(bus))
{
    registerTypes();
    const QVariantMap properties{{u"description"_s, description}, {u"preferred_trigger"_s, preferredTrigger}};
    m_shortcuts = {{m_id, properties}};
    // QtDBus connects bus signals by slot signature only.
    m_bus.connect(DesktopPortal::service, DesktopPortal::path, shortcutsInterface, u"Activated"_s, this,
                  SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    // KDE Plasma 5.27 takes the shortcuts only from here, and lists them in its answer.
    const QVariantMap options{{u"session_handle_token"_s, u"corvane"_s},
                              {u"shortcuts"_s, QVariant::fromValue(m_shortcuts)}};
    connect(PortalRequest::send(m_bus, shortcutsInterface, u"CreateSession"_s, {}, options, this),
            &PortalRequest::answered, this, &PortalGlobalShortcut::onSessionCreated);
}

void PortalGlobalShortcut::onSessionCreated(uint response, const QVariantMap &results)
{
    const QString handle = results.value(u"session_handle"_s).toString();
    if (response != PortalRequest::Success || handle.isEmpty()) {
        Q_EMIT failed();
        return;
    }
    m_session = QDBusObjectPath(handle);
    if (announceBound(results))
        return;
    const QList<QVariant> arguments{QVariant::fromValue(m_session), QVariant::fromValue(m_shortcuts), QString()};
    connect(PortalRequest::send(m_bus, shortcutsInterface, u"BindShortcuts"_s, arguments, {}, this),
            &PortalRequest::answered, this, [this](uint response, const QVariantMap &results) {
                if (response != PortalRequest::Success || !announceBound(results))
                    Q_EMIT failed();
            });
}

bool PortalGlobalShortcut::announceBound(const QVariantMap &results)
{
    for (const PortalGlobalShortcut::Shortcut &entry : shortcutsIn(results)) {
        if (entry.id == m_id) {
            Q_EMIT bound(entry.properties.value(u"trigger_description"_s).toString());
            return true;
        }
    }
    return false;
}

void PortalGlobalShortcut::onActivated(const QDBusObjectPath &session, const QString &id, qulonglong,
                                       const QVariantMap &)
{
    if (session == m_session && id == m_id)
        Q_EMIT activated();
}
