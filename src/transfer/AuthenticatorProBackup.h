#pragma once

#include "transfer/ImportBatch.h"
#include "transfer/ImportContent.h"
#include "transfer/TransferError.h"

#include <QByteArray>

#include <expected>

// Authenticator Pro's (now Stratum's) plain backup: JSON with "Authenticators", whose type
// and algorithm are numbers. Its encrypted backups hold the same document.
namespace AuthenticatorProBackup {

bool recognizes(const ImportContent &content);
std::expected<ImportBatch, TransferError> read(const ImportContent &content);
// The accounts of a decrypted backup; damaged when it is not the document.
std::expected<ImportBatch, TransferError> readJson(const QByteArray &json, std::stop_token stop);

} // namespace AuthenticatorProBackup
