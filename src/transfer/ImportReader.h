#pragma once

#include "transfer/DerivedKeys.h"
#include "transfer/ImportBatch.h"
#include "transfer/KdfPolicy.h"
#include "transfer/TransferError.h"

#include <QByteArray>

#include <expected>
#include <stop_token>

// Reads any file Corvane imports, told apart by its content (ImportFormat lists the
// formats); the batch names the format it was read as.
namespace ImportReader {

constexpr qsizetype maxFileSize = 16 * 1024 * 1024;

// passwordRequired when the file is encrypted and no password was given; cancelled when
// `stop` was asked to stop before the read ended (it stops soon after).
std::expected<ImportBatch, TransferError> read(const QByteArray &bytes, const DerivedKeys &keys = {},
                                               const KdfPolicy &policy = {}, std::stop_token stop = {});

} // namespace ImportReader
