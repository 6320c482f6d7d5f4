#pragma once

#include "backup/BackupName.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>

// The automatic backups in a folder, which may hold other computers' backups and anything
// else besides.
namespace BackupFolder {

// Every file named as a backup, newest first.
QList<BackupName> backups(const QString &folder);
// Removes this host's backups beyond the newest `keep`, counting `written` (the one just
// verified) first whatever its time, and never removing it. Other hosts' files and files
// not named as backups are left alone. The names removed.
QStringList rotate(const QString &folder, const QString &host, int keep, const QString &written);

// Removes this host's temporary files (a backup's name, "." and six characters) whose write
// was cut off, last changed more than `age` ago, so that sync services stop copying them.
QStringList removeLeftovers(const QString &folder, const QString &host, std::chrono::seconds age);

} // namespace BackupFolder
