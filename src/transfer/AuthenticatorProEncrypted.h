#pragma once

#include "transfer/DerivedKeys.h"
#include "transfer/ImportBatch.h"
#include "transfer/ImportContent.h"
#include "transfer/KdfPolicy.h"
#include "transfer/TransferError.h"

#include <expected>

// Authenticator Pro's (now Stratum's) encrypted backup: the header "AUTHENTICATORPRO", a
// 16-byte salt, a 12-byte nonce and the AES-256-GCM ciphertext with its tag, keyed by
// Argon2id (3 passes, 64 MiB, 4 lanes); or the older header "AuthenticatorPro", a 20-byte
// salt, a 16-byte IV and AES-256-CBC under PBKDF2-HMAC-SHA1 (64,000 iterations). Both hold
// the app's plain JSON backup.
namespace AuthenticatorProEncrypted {

bool recognizes(const ImportContent &content);
bool recognizesLegacy(const ImportContent &content);

// Either format; wrongPasswordOrDamaged when it does not open.
std::expected<ImportBatch, TransferError> read(const ImportContent &content, const DerivedKeys &keys,
                                               const KdfPolicy &policy);

} // namespace AuthenticatorProEncrypted
