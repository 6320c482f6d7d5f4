#pragma once

#include "transfer/TransferError.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <expected>
#include <memory>

// Backup files on disk: opened only when they are regular files of a backup's size, written
// whole or not at all, readable by the owner only.
namespace SafeFile {

// The file open for reading. A FIFO, a device or a folder is refused without waiting on it,
// as is a file larger than any backup.
std::expected<std::unique_ptr<QFile>, TransferError> openRegular(const QString &path);
std::expected<void, TransferError> write(const QString &path, const QByteArray &bytes);
// A failed system call's error, in the app's language for the usual ones (the system's own
// words follow the C library's locale, often English).
TransferError systemError(int error);

} // namespace SafeFile
