#pragma once

#include "transfer/DerivedKeys.h"
#include "transfer/ImportBatch.h"
#include "transfer/KdfPolicy.h"
#include "transfer/TransferError.h"

#include <QByteArray>

#include <expected>

// Reads any file Corvane imports, told apart by its content (BackupFormat lists the
// formats); the batch names the format it was read as.
namespace BackupReader {

constexpr qsizetype maxFileSize = 16 * 1024 * 1024;

// passwordRequired when the file is encrypted and no password was given.
std::expected<ImportBatch, TransferError> read(const QByteArray &bytes, const DerivedKeys &keys = {},
                                               const KdfPolicy &policy = {});

} // namespace BackupReader
