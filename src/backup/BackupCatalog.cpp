#include "backup/BackupCatalog.h"

#include "backup/BackupComputer.h"
#include "backup/BackupFolder.h"
#include "transfer/SafeFile.h"

#include <QDir>
#include <QSet>

namespace {

bool isNewer(const BackupEntry &entry, const QString &seen)
{
    const auto seenName = BackupName::parse(seen);
    return !seenName || entry.name.isNewerThan(*seenName);
}

} // namespace

namespace BackupCatalog {

QList<BackupEntry> list(const QString &folder, const QString &host, const QString &computer)
{
    QList<BackupEntry> entries;
    for (const BackupName &name : BackupFolder::backups(folder)) {
        const QString path = QDir(folder).filePath(name.fileName());
        const auto id = BackupComputer::idOf(path);
        const QString origin = id && !id->isEmpty() ? *id : name.host;
        entries.append({name, path, origin, BackupComputer::label(name.host, id.value_or(QString())),
                        BackupFolder::isOwn(name, id, host, computer)});
    }
    return entries;
}

void open(BackupEntry &entry, const QByteArray &masterKey, const TransferLayer &layer)
{
    const auto file = SafeFile::openRegular(entry.path);
    const QByteArray bytes = file ? (*file)->readAll() : QByteArray();
    auto batch = bytes.isEmpty() ? std::unexpected(TransferError::Kind::damaged) : layer.readVault(bytes, masterKey);
    if (batch) {
        entry.state = BackupEntry::State::opened;
        entry.batch = std::move(*batch);
    } else {
        entry.state = layer.vaultSlot(bytes) ? BackupEntry::State::needsPassword : BackupEntry::State::unreadable;
    }
}

QList<BackupEntry> openAll(const QString &folder, const QString &host, const QString &computer,
                           const QByteArray &masterKey, const TransferLayer &layer)
{
    QList<BackupEntry> entries = list(folder, host, computer);
    for (BackupEntry &entry : entries)
        open(entry, masterKey, layer);
    return entries;
}

QByteArray newestOtherVault(const QString &folder, const QString &host, const QString &computer)
{
    for (const BackupEntry &entry : list(folder, host, computer)) {
        if (entry.own)
            continue;
        const auto file = SafeFile::openRegular(entry.path);
        return file ? (*file)->readAll() : QByteArray();
    }
    return {};
}

QList<BackupEntry> newestOfOthers(const QString &folder, const QString &host, const QString &computer,
                                  const QHash<QString, QString> &seen, const QByteArray &masterKey,
                                  const TransferLayer &layer)
{
    QList<BackupEntry> newest;
    QSet<QString> origins;
    for (BackupEntry &entry : list(folder, host, computer)) {
        if (entry.own || origins.contains(entry.origin))
            continue;
        origins.insert(entry.origin);
        if (!isNewer(entry, seen.value(entry.origin)))
            continue;
        open(entry, masterKey, layer);
        newest.append(std::move(entry));
    }
    return newest;
}

} // namespace BackupCatalog
