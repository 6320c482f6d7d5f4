#include "app/BackupService.h"

#include "backup/AutoBackup.h"

#include <QDBusMessage>

BackupService::BackupService(AutoBackup &backup, QObject *parent) : QObject(parent), m_backup(backup) {}

bool BackupService::publish(QDBusConnection bus)
{
    return bus.registerObject(path, this, QDBusConnection::ExportScriptableSlots);
}

std::function<void(const QString &)> BackupService::laterReply()
{
    setDelayedReply(true);
    return
        [call = message(), bus = connection()](const QString &outcome) mutable { bus.send(call.createReply(outcome)); };
}

QString BackupService::SetUp(const QString &folder, const QString &password, int keep)
{
    m_backup.setUp(folder, password, keep, [reply = laterReply()](const std::expected<void, QString> &set) {
        reply(set ? QString() : set.error());
    });
    return {};
}

QString BackupService::TurnOff()
{
    m_backup.turnOff();
    return {};
}

QString BackupService::BackUpNow()
{
    m_backup.backUpNow([reply = laterReply()](const std::optional<BackupFailure> &failure) {
        reply(failure ? failure->description() : QString());
    });
    return {};
}
