#pragma once

#include "transfer/DerivedKeys.h"
#include "transfer/ImportBatch.h"
#include "transfer/ImportContent.h"
#include "transfer/KdfPolicy.h"
#include "transfer/TransferError.h"

#include <expected>

// andOTP's encrypted backup, which has no header to tell it by. The current format is the
// PBKDF2-HMAC-SHA1 iteration count (32 bits, big-endian), a 12-byte salt, a 12-byte nonce
// and the AES-256-GCM ciphertext with its tag; the oldest one is the nonce, ciphertext and
// tag under the SHA-256 of the password. Both hold andOTP's plain JSON backup.
namespace AndOtpEncrypted {

// Binary content long enough for the oldest format: andOTP's is the only binary backup
// without a header.
bool recognizes(const ImportContent &content);

// wrongPasswordOrDamaged when neither format opens.
std::expected<ImportBatch, TransferError> read(const ImportContent &content, const DerivedKeys &keys,
                                               const KdfPolicy &policy);

} // namespace AndOtpEncrypted
