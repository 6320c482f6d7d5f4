#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

#include <functional>

class QDBusMessage;

// Tells when the person's session locks and unlocks, from whichever of the desktop's services
// exist: logind's session (its Lock and Unlock signals and its LockedHint) and the screensavers
// org.freedesktop.ScreenSaver and org.gnome.ScreenSaver (ActiveChanged). A lock any of them
// reports locks, an unlock any of them reports unlocks, and each change is announced once.
// Every call is asynchronous and starts no service; a missing service is never heard from.
class SessionLockWatcher : public QObject
{
    Q_OBJECT

public:
    explicit SessionLockWatcher(QDBusConnection sessionBus = QDBusConnection::sessionBus(),
                                QDBusConnection systemBus = QDBusConnection::systemBus(), QObject *parent = nullptr);

    bool isLocked() const { return m_locked; }

Q_SIGNALS:
    void lockedChanged(bool locked);

private Q_SLOTS:
    void setLocked(bool locked);
    void sessionLocked() { setLocked(true); }
    void sessionUnlocked() { setLocked(false); }
    void sessionPropertiesChanged(const QString &interface, const QVariantMap &changed, const QStringList &invalidated);

private:
    void watchScreenSaver(const QString &service, const QString &path);
    void watchSession(const QString &path);
    // Sends `call` without starting its service and hands a successful answer to `answered`.
    void ask(QDBusConnection &bus, QDBusMessage call, std::function<void(const QVariant &)> answered);
    // A service already locked when asked counts as a lock.
    void lockIfTrue(const QVariant &answer);

    QDBusConnection m_sessionBus;
    QDBusConnection m_systemBus;
    bool m_locked = false;
};
