#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QVariantMap>

// One global shortcut through the XDG desktop portal's GlobalShortcuts interface, for
// Wayland sessions where no program may grab keys: a session is created with the shortcut
// and its preferred keys, the shortcut bound where the session did not already take it
// (the desktop may ask the person and choose other keys), and its activations announced.
// Every step is asynchronous.
class PortalGlobalShortcut : public QObject
{
    Q_OBJECT

public:
    // One entry of the portal's shortcut lists (D-Bus a(sa{sv})).
    struct Shortcut
    {
        QString id;
        QVariantMap properties;

        friend QDBusArgument &operator<<(QDBusArgument &argument, const Shortcut &shortcut);
        friend const QDBusArgument &operator>>(const QDBusArgument &argument, Shortcut &shortcut);
    };
    // Makes the list type known to QtDBus; the constructor does it too.
    static void registerTypes();

    PortalGlobalShortcut(const QString &id, const QString &description, const QString &preferredTrigger,
                         QDBusConnection bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);

Q_SIGNALS:
    // The shortcut is bound; `trigger` is the desktop's text for its keys (may be empty).
    void bound(const QString &trigger);
    // The portal is missing, refused, or left the shortcut without keys.
    void failed();
    void activated();

private Q_SLOTS:
    void onActivated(const QDBusObjectPath &session, const QString &id, qulonglong timestamp,
                     const QVariantMap &options);

private:
    void onSessionCreated(uint response, const QVariantMap &results);
    // Announces the shortcut bound when `results` list it; false when they do not.
    bool announceBound(const QVariantMap &results);

    QString m_id;
    QList<Shortcut> m_shortcuts;
    QDBusConnection m_bus;
    QDBusObjectPath m_session;
};

Q_DECLARE_METATYPE(PortalGlobalShortcut::Shortcut)
