#pragma once

#include "transfer/ImportBatch.h"
#include "transfer/ImportContent.h"
#include "transfer/TransferError.h"

#include <expected>

// Steam Guard's account file as steamguard-cli (and SDA) keep it, one account per file
// ("shared_secret" in Base64, "account_name"), or several under "accounts" as the Steam app
// stores them. Its "uri" member reads as an ordinary TOTP link and would give wrong codes,
// so it is ignored.
namespace SteamMaFile {

bool recognizes(const ImportContent &content);
std::expected<ImportBatch, TransferError> read(const ImportContent &content);

} // namespace SteamMaFile
