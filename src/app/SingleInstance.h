#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QLockFile>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <memory>

// Keeps one Corvane per user: two processes would overwrite each other's account list.
// The first owns a well-known name on the session bus and answers the desktop's
// org.freedesktop.Application calls there; a later launch calls Activate (Open, to hand
// over files; ActivateAction, to show, hide or toggle the panel) on it and leaves. Without
// a session bus a lock file keeps the second launch out, but it cannot reach the first.
class SingleInstance : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    static inline const QString serviceName = QStringLiteral("org.corvane.Corvane");

    // `name` is the bus name to own and the lock file's name (the tests use their own).
    explicit SingleInstance(const QString &name = serviceName,
                            const QDBusConnection &bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);

    // The actions the running instance takes over the bus.
    static inline const QStringList actions{QStringLiteral("toggle"), QStringLiteral("show"), QStringLiteral("hide")};

    // True when this process is the one to run. Otherwise the running one has been asked
    // to open `uris` when there are any, else to take `action` when there is one, else to
    // show its panel, and this one should exit.
    bool claim(const QStringList &uris = {}, const QString &action = {});
    // Gives up the bus name (or the lock file) so that a launch from now on starts a new
    // instance: the first thing on quitting, before anything that may take a while.
    void release();
    // Whether the running instance took the request.
    bool notifiedRunning() const { return m_notified; }
    // Why the running instance refused files it was handed, if it did.
    const QString &refusal() const { return m_refusal; }

    // The object path the desktop derives from a bus name.
    static QString objectPath(const QString &name);

Q_SIGNALS:
    // Another launch asked this instance to show its panel.
    void showRequested();
    // Another launch handed over files to open: regular files only, as paths.
    void openRequested(const QStringList &paths);
    // Another launch asked for one of `actions`.
    void actionRequested(const QString &action);

public Q_SLOTS:
    // org.freedesktop.Application, called over the bus; the names are the interface's.
    Q_SCRIPTABLE void Activate(const QVariantMap &platformData);
    Q_SCRIPTABLE void Open(const QStringList &uris, const QVariantMap &platformData);
    Q_SCRIPTABLE void ActivateAction(const QString &name, const QVariantList &parameter,
                                     const QVariantMap &platformData);

private:
    bool claimBusName();
    bool claimLockFile();
    bool notifyRunning(const QStringList &uris, const QString &action);

    QString m_name;
    QDBusConnection m_bus;
    std::unique_ptr<QLockFile> m_lock;
    bool m_notified = false;
    QString m_refusal;
};
