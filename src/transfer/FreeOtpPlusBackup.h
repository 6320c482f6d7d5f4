#pragma once

#include "transfer/BackupContent.h"
#include "transfer/ImportBatch.h"
#include "transfer/TransferError.h"

#include <expected>

// FreeOTP+'s JSON export: "tokens", each with its secret as an array of signed bytes.
namespace FreeOtpPlusBackup {

bool recognizes(const BackupContent &content);
std::expected<ImportBatch, TransferError> read(const BackupContent &content);

} // namespace FreeOtpPlusBackup
