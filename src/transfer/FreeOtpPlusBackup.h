#pragma once

#include "transfer/ImportBatch.h"
#include "transfer/ImportContent.h"
#include "transfer/TransferError.h"

#include <expected>

// FreeOTP+'s JSON export: "tokens", each with its secret as an array of signed bytes.
namespace FreeOtpPlusBackup {

bool recognizes(const ImportContent &content);
std::expected<ImportBatch, TransferError> read(const ImportContent &content);

} // namespace FreeOtpPlusBackup
