#include "app/BackupService.h"

#include "backup/AutoBackup.h"

#include <QCoreApplication>
#include <QDBusMessage>

#include <fcntl.h>
#include <unistd.h>

namespace {

// What the caller wrote to the pipe before calling, without waiting for a writer that never
// closes it; nothing when it holds no password or more than one could be.
std::optional<QString> readPassword(const QDBusUnixFileDescriptor &pipe)
{
    constexpr qsizetype longest = 4096;
    if (!pipe.isValid())
        return std::nullopt;
    const int fd = pipe.fileDescriptor();
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    QByteArray bytes;
    char buffer[1024];
    for (ssize_t got; bytes.size() <= longest && (got = read(fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, got);
    if (bytes.isEmpty() || bytes.size() > longest)
        return std::nullopt;
    return QString::fromUtf8(bytes);
}

} // namespace

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

QString BackupService::SetUp(const QString &folder, const QDBusUnixFileDescriptor &passwordPipe, int keep)
{
    const std::optional<QString> password = readPassword(passwordPipe);
    if (!password)
        return QCoreApplication::translate("BackupService", "没有收到密码。");
    m_backup.setUp(folder, *password, keep, [reply = laterReply()](const std::expected<void, QString> &set) {
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
