#pragma once

#include "transfer/ImportBatch.h"
#include "transfer/ImportContent.h"
#include "transfer/TransferError.h"

#include <expected>

// Proton Authenticator's export: JSON with "version" and "entries", each entry's content
// holding an otpauth link ("uri") and the name shown in the app.
namespace ProtonExport {

bool recognizes(const ImportContent &content);
std::expected<ImportBatch, TransferError> read(const ImportContent &content);

} // namespace ProtonExport
