#pragma once

#include "transfer/ImportBatch.h"
#include "transfer/ImportContent.h"
#include "transfer/TransferError.h"

#include <expected>

// Bitwarden's vault export, as JSON ("items", each login's "totp") or as CSV (the
// "login_totp" column). The field holds an otpauth link, "steam://SECRET" or a bare secret;
// the item's name stands for the issuer and its user name for the account. Items without
// one are passwords only and left out.
namespace BitwardenExport {

bool recognizesJson(const ImportContent &content);
// unsupported for an export Bitwarden encrypted.
std::expected<ImportBatch, TransferError> readJson(const ImportContent &content);

bool recognizesCsv(const ImportContent &content);
std::expected<ImportBatch, TransferError> readCsv(const ImportContent &content);

} // namespace BitwardenExport
