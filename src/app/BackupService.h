#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QString>

class AutoBackup;

// Automatic backups of the running instance on the session bus, for `corvane --backup-setup`,
// `--backup-off` and `--backup-now`, so that the panel's state follows at once. Each call
// answers with an empty text on success, or with why not.
class BackupService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.corvane.Backup")

public:
    static inline const QString interfaceName = QStringLiteral("org.corvane.Backup");
    static inline const QString path = QStringLiteral("/org/corvane/Backup");

    explicit BackupService(AutoBackup &backup, QObject *parent = nullptr);

    bool publish(QDBusConnection bus = QDBusConnection::sessionBus());

public Q_SLOTS:
    // The names are the interface's.
    // The password comes as the read end of a pipe the caller has written it to and closed,
    // so that it is not in the message a bus monitor sees.
    Q_SCRIPTABLE QString SetUp(const QString &folder, const QDBusUnixFileDescriptor &password, int keep);
    Q_SCRIPTABLE QString TurnOff();
    Q_SCRIPTABLE QString BackUpNow();

private:
    // The reply goes out when `answer` is given the outcome.
    std::function<void(const QString &)> laterReply();

    AutoBackup &m_backup;
};
