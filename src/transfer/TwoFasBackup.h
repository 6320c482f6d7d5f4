#pragma once

#include "transfer/DerivedKeys.h"
#include "transfer/ImportBatch.h"
#include "transfer/KdfPolicy.h"
#include "transfer/TransferError.h"

#include <QJsonObject>

#include <expected>
#include <stop_token>

// 2FAS's backup file: JSON with a "services" list, or, when a password was set,
// "servicesEncrypted" = Base64 ciphertext-and-tag, salt and nonce joined by ":" (AES-256-GCM
// under a PBKDF2-HMAC-SHA256 key), with "reference", a known text sealed the same way.
namespace TwoFasBackup {

bool recognizes(const QJsonObject &root);
bool isEncrypted(const QJsonObject &root);

std::expected<ImportBatch, TransferError> read(const QJsonObject &root, const DerivedKeys &keys,
                                               const KdfPolicy &policy = {}, std::stop_token stop = {});

} // namespace TwoFasBackup
