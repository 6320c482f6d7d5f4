#pragma once

#include "transfer/ImportBatch.h"
#include "transfer/ImportContent.h"
#include "transfer/TransferError.h"

#include <QByteArray>

#include <expected>

// andOTP's plain backup: a JSON list of entries ("secret", "issuer", "label", "type" TOTP,
// HOTP or STEAM...). Its encrypted backups hold the same list.
namespace AndOtpBackup {

bool recognizes(const ImportContent &content);
std::expected<ImportBatch, TransferError> read(const ImportContent &content);
// The accounts of a decrypted backup; damaged when it is not the list.
std::expected<ImportBatch, TransferError> readJson(const QByteArray &json, std::stop_token stop);

} // namespace AndOtpBackup
