#include "transfer/AndOtpEncrypted.h"

#include "transfer/AndOtpBackup.h"
#include "transfer/VaultCrypto.h"

#include <QCoreApplication>
#include <QtEndian>

namespace {

constexpr qsizetype countSize = 4;
constexpr qsizetype saltSize = 12;
constexpr qsizetype headerSize = countSize + saltSize;

// The nonce, ciphertext and tag that follow `offset`.
VaultCrypto::Sealed sealedAt(const QByteArray &bytes, qsizetype offset)
{
    const qsizetype end = bytes.size() - VaultCrypto::tagSize;
    const qsizetype start = offset + VaultCrypto::nonceSize;
    return {bytes.sliced(start, end - start), bytes.sliced(offset, VaultCrypto::nonceSize), bytes.sliced(end)};
}

// The current format's key derivation, at whatever cost the file names, when it can be one.
std::optional<KeyDerivation> derivation(const QByteArray &bytes)
{
    if (bytes.size() <= headerSize + VaultCrypto::nonceSize + VaultCrypto::tagSize)
        return std::nullopt;
    const quint32 iterations = qFromBigEndian<quint32>(bytes.constData());
    if (iterations < 1)
        return std::nullopt;
    return KeyDerivation{
        .function = KeyDerivation::Function::pbkdf2Sha1, .salt = bytes.sliced(countSize, saltSize), .cost = iterations};
}

// The plaintext under the key `derivation` gives; wrongPasswordOrDamaged when it does not open.
std::expected<QByteArray, TransferError> attempt(const QByteArray &bytes, qsizetype offset,
                                                 const KeyDerivation &derivation, const DerivedKeys &keys)
{
    const auto key = keys.key(derivation);
    if (!key)
        return std::unexpected(key.error());
    auto plaintext = VaultCrypto::open(*key, sealedAt(bytes, offset));
    if (!plaintext)
        return std::unexpected(TransferError::Kind::wrongPasswordOrDamaged);
    return std::move(*plaintext);
}

// The plain backup inside; wrongPasswordOrDamaged when neither format opens. A file whose
// count is over the cap and that does not open in the oldest format either is refused for
// its cost too: it may also be one of those with another password.
std::expected<QByteArray, TransferError> decrypt(const QByteArray &bytes, const DerivedKeys &keys,
                                                 const KdfPolicy &policy)
{
    const auto current = derivation(bytes);
    const bool overCap = current && current->cost > policy.maxPbkdf2Iterations;
    if (current && !overCap) {
        auto plaintext = attempt(bytes, headerSize, *current, keys);
        if (plaintext || plaintext.error().kind() != TransferError::Kind::wrongPasswordOrDamaged)
            return plaintext;
    }
    auto oldest = attempt(bytes, 0, {.function = KeyDerivation::Function::sha256, .salt = {}}, keys);
    if (!oldest && overCap && oldest.error().kind() == TransferError::Kind::wrongPasswordOrDamaged)
        return std::unexpected(TransferError(TransferError::Kind::wrongPasswordOrTooCostly,
                                             QCoreApplication::translate("AndOtpEncrypted", "PBKDF2 迭代次数过大")));
    return oldest;
}

} // namespace

namespace AndOtpEncrypted {

bool recognizes(const ImportContent &content)
{
    return !content.isText && content.bytes.size() > VaultCrypto::nonceSize + VaultCrypto::tagSize;
}

std::expected<ImportBatch, TransferError> read(const ImportContent &content, const DerivedKeys &keys,
                                               const KdfPolicy &policy)
{
    if (!keys.hasPassword())
        return std::unexpected(TransferError::Kind::passwordRequired);
    const auto plaintext = decrypt(content.bytes, keys, policy);
    if (!plaintext)
        return std::unexpected(plaintext.error());
    return AndOtpBackup::readJson(*plaintext, content.stop);
}

} // namespace AndOtpEncrypted
