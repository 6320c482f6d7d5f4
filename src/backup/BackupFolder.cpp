#include "backup/BackupFolder.h"

#include "backup/BackupComputer.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace BackupFolder {

QList<BackupName> backups(const QString &folder)
{
    QList<BackupName> names;
    for (const QString &file : QDir(folder).entryList({QStringLiteral("corvane-backup-*.json")}, QDir::Files)) {
        if (auto name = BackupName::parse(file))
            names.append(std::move(*name));
    }
    std::ranges::sort(names, [](const BackupName &a, const BackupName &b) { return a.isNewerThan(b); });
    return names;
}

bool isOwn(const BackupName &name, const std::optional<QString> &id, const QString &host, const QString &computer)
{
    return name.host == host && id && (id->isEmpty() || *id == computer);
}

QStringList rotate(const QString &folder, const QString &host, const QString &computer, int keep,
                   const QString &written)
{
    QStringList removed;
    int kept = 1; // the one written
    for (const BackupName &name : backups(folder)) {
        const QString file = name.fileName();
        if (file == written || !isOwn(name, BackupComputer::idOf(QDir(folder).filePath(file)), host, computer))
            continue;
        if (kept < keep)
            ++kept;
        else if (QFile::remove(QDir(folder).filePath(file)))
            removed.append(file);
    }
    return removed;
}

QStringList removeLeftovers(const QString &folder, const QString &host, std::chrono::seconds age)
{
    constexpr qsizetype tail = 7; // "." and QSaveFile's six random characters
    const QDir dir(folder);
    const QDateTime before = QDateTime::currentDateTime().addSecs(-age.count());
    QStringList removed;
    for (const QFileInfo &file : dir.entryInfoList({QStringLiteral("corvane-backup-*.json.??????")}, QDir::Files)) {
        const auto name = BackupName::parse(file.fileName().chopped(tail));
        if (name && name->host == host && file.lastModified() < before && QFile::remove(file.filePath()))
            removed.append(file.fileName());
    }
    return removed;
}

} // namespace BackupFolder
