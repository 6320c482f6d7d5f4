#pragma once

#include "transfer/DerivedKeys.h"
#include "transfer/ImportBatch.h"
#include "transfer/KdfPolicy.h"
#include "transfer/TransferError.h"

#include <QJsonObject>

#include <expected>
#include <stop_token>

// Ente Auth's encrypted export: JSON with "version" 1, "kdfParams" (Argon2id's "memLimit" in
// bytes, "opsLimit" and a Base64 "salt"), and "encryptedData" sealed as one final message of
// a libsodium XChaCha20-Poly1305 secret stream whose header is "encryptionNonce". It holds
// otpauth links, one a line.
namespace EnteEncrypted {

bool recognizes(const QJsonObject &root);

// wrongPasswordOrDamaged when it does not open.
std::expected<ImportBatch, TransferError> read(const QJsonObject &root, const DerivedKeys &keys,
                                               const KdfPolicy &policy, std::stop_token stop = {});

} // namespace EnteEncrypted
