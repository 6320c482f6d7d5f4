#pragma once

#include "transfer/TransferError.h"

#include <QByteArray>
#include <QString>

#include <expected>

// Backup files on disk: read with a size bound, written whole or not at all, readable by
// the owner only.
namespace BackupFile {

std::expected<QByteArray, TransferError> read(const QString &path);
std::expected<void, TransferError> write(const QString &path, const QByteArray &bytes);

} // namespace BackupFile
