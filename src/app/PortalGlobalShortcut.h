#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QVariantMap>

// One global shortcut through the XDG desktop portal's GlobalShortcuts interface, for
// Wayland sessions where no program may grab keys: a session is created, the shortcut
// bound with its preferred keys (the desktop may ask the person and choose others), and
// its activations announced. Every step is asynchronous.
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
    void onSessionCreated(uint response, const QVariantMap &results);
    void onBound(uint response, const QVariantMap &results);
    void onActivated(const QDBusObjectPath &session, const QString &id, qulonglong timestamp,
                     const QVariantMap &options);

private:
    // Calls `method` with `arguments` and the options carrying a new request token; the
    // portal answers on the request's Response signal, delivered to `slot`.
    void request(const QString &method, QList<QVariant> arguments, QVariantMap options, const char *slot);

    QString m_id, m_description, m_preferredTrigger;
    QDBusConnection m_bus;
    QDBusObjectPath m_session;
    int m_requests = 0;
};

Q_DECLARE_METATYPE(PortalGlobalShortcut::Shortcut)
