#include "backup/BackupFolder.h"

#include <QDir>

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

QStringList rotate(const QString &folder, const QString &host, int keep, const QString &written)
{
    QStringList removed;
    int kept = 1; // the one written
    for (const BackupName &name : backups(folder)) {
        const QString file = name.fileName();
        if (name.host != host || file == written)
            continue;
        if (kept < keep)
            ++kept;
        else if (QFile::remove(QDir(folder).filePath(file)))
            removed.append(file);
    }
    return removed;
}

} // namespace BackupFolder
