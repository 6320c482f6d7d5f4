#include "app/SessionLockWatcher.h"

#include "engine/Logging.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString logindService = u"org.freedesktop.login1"_s;
const QString sessionInterface = u"org.freedesktop.login1.Session"_s;
const QString propertiesInterface = u"org.freedesktop.DBus.Properties"_s;
const QString lockedHint = u"LockedHint"_s;

} // namespace

SessionLockWatcher::SessionLockWatcher(QDBusConnection sessionBus, QDBusConnection systemBus, QObject *parent)
    : QObject(parent),
      m_sessionBus(std::move(sessionBus)),
      m_systemBus(std::move(systemBus))
{
    watchScreenSaver(u"org.freedesktop.ScreenSaver"_s, u"/org/freedesktop/ScreenSaver"_s);
    watchScreenSaver(u"org.gnome.ScreenSaver"_s, u"/org/gnome/ScreenSaver"_s);
    // The session this process belongs to, or else the person's graphical one.
    QDBusMessage find = QDBusMessage::createMethodCall(logindService, u"/org/freedesktop/login1"_s,
                                                       u"org.freedesktop.login1.Manager"_s, u"GetSession"_s);
    find << u"auto"_s;
    ask(m_systemBus, find, [this](const QVariant &path) { watchSession(path.value<QDBusObjectPath>().path()); });
}

// KDE sends the signal from more than one path, so any path of the service counts.
void SessionLockWatcher::watchScreenSaver(const QString &service, const QString &path)
{
    if (!m_sessionBus.connect(service, QString(), service, u"ActiveChanged"_s, this, SLOT(setLocked(bool))))
        qCWarning(lcApp) << "cannot follow" << service << m_sessionBus.lastError().message();
    ask(m_sessionBus, QDBusMessage::createMethodCall(service, path, service, u"GetActive"_s),
        [this](const QVariant &active) { lockIfTrue(active); });
}

void SessionLockWatcher::watchSession(const QString &path)
{
    m_systemBus.connect(logindService, path, sessionInterface, u"Lock"_s, this, SLOT(sessionLocked()));
    m_systemBus.connect(logindService, path, sessionInterface, u"Unlock"_s, this, SLOT(sessionUnlocked()));
    m_systemBus.connect(logindService, path, propertiesInterface, u"PropertiesChanged"_s, this,
                        SLOT(sessionPropertiesChanged(QString, QVariantMap, QStringList)));
    QDBusMessage get = QDBusMessage::createMethodCall(logindService, path, propertiesInterface, u"Get"_s);
    get << sessionInterface << lockedHint;
    ask(m_systemBus, get, [this](const QVariant &hint) { lockIfTrue(hint.value<QDBusVariant>().variant()); });
}

void SessionLockWatcher::sessionPropertiesChanged(const QString &interface, const QVariantMap &changed,
                                                  const QStringList &)
{
    if (interface == sessionInterface && changed.contains(lockedHint))
        setLocked(changed.value(lockedHint).toBool());
}

void SessionLockWatcher::ask(QDBusConnection &bus, QDBusMessage call, std::function<void(const QVariant &)> answered)
{
    if (!bus.isConnected())
        return;
    call.setAutoStartService(false);
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [answered = std::move(answered)](QDBusPendingCallWatcher *done) {
                done->deleteLater();
                const QDBusMessage reply = done->reply();
                if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
                    qCDebug(lcApp) << "no lock state from" << done->error().name();
                    return;
                }
                answered(reply.arguments().constFirst());
            });
}

void SessionLockWatcher::lockIfTrue(const QVariant &answer)
{
    if (answer.toBool())
        setLocked(true);
}

void SessionLockWatcher::setLocked(bool locked)
{
    if (locked == m_locked)
        return;
    m_locked = locked;
    Q_EMIT lockedChanged(locked);
}
