#pragma once

#include "backup/BackupName.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

// The automatic backups in a folder, which may hold other computers' backups and anything
// else besides.
namespace BackupFolder {

// Every file named as a backup, newest first.
QList<BackupName> backups(const QString &folder);
// This computer's backup: its host, and its id (BackupComputer::idOf) or none (written
// before ids). A file that cannot be read (no id at all) is nobody's, so it is never removed.
bool isOwn(const BackupName &name, const std::optional<QString> &id, const QString &host, const QString &computer);
// Removes this computer's backups beyond the newest `keep`, counting `written` (the one just
// verified) first whatever its time, and never removing it. Other computers' files and files
// not named as backups are left alone. The names removed.
QStringList rotate(const QString &folder, const QString &host, const QString &computer, int keep,
                   const QString &written);

// Removes this host's temporary files (a backup's name, "." and six characters) whose write
// was cut off, last changed more than `age` ago, so that sync services stop copying them.
QStringList removeLeftovers(const QString &folder, const QString &host, std::chrono::seconds age);

} // namespace BackupFolder
