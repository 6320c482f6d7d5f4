#pragma once

#include "backup/BackupEntry.h"
#include "transfer/TransferLayer.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

// The automatic backups in a folder, every computer's, opened with the master key. Reads
// files: run it off the main thread. Files that cannot be read or opened are listed as
// unreadable, never trusted.
namespace BackupCatalog {

// Every backup in the folder, newest first, named and told apart (this computer's, or
// which other's), not yet opened.
QList<BackupEntry> list(const QString &folder, const QString &host, const QString &computer);
// Opens the entry with the master key, or learns that it needs another password.
void open(BackupEntry &entry, const QByteArray &masterKey, const TransferLayer &layer);
// Every backup, opened.
QList<BackupEntry> openAll(const QString &folder, const QString &host, const QString &computer,
                           const QByteArray &masterKey, const TransferLayer &layer);
// The newest backup of another computer as it is on disk; empty when there is none or it
// cannot be read.
QByteArray newestOtherVault(const QString &folder, const QString &host, const QString &computer);
// The newest backup of each other computer, opened, when it is newer than the one `seen`
// names for that computer (by origin).
QList<BackupEntry> newestOfOthers(const QString &folder, const QString &host, const QString &computer,
                                  const QHash<QString, QString> &seen, const QByteArray &masterKey,
                                  const TransferLayer &layer);

} // namespace BackupCatalog
