#include "transfer/AuthenticatorProEncrypted.h"

#include "transfer/AuthenticatorProBackup.h"
#include "transfer/VaultCrypto.h"

namespace {

const QByteArray header = "AUTHENTICATORPRO";
const QByteArray legacyHeader = "AuthenticatorPro";

struct Layout
{
    KeyDerivation derivation; // without its salt
    qsizetype saltSize;
    qsizetype ivSize;
};

const Layout current{
    {.function = KeyDerivation::Function::argon2id, .salt = {}, .cost = 3, .parallelism = 4, .memoryKiB = 1 << 16},
    16,
    VaultCrypto::nonceSize};
const Layout legacy{{.function = KeyDerivation::Function::pbkdf2Sha1, .salt = {}, .cost = 64000}, 20, 16};

std::optional<QByteArray> open(const QByteArray &key, const QByteArray &iv, const QByteArray &data, bool gcm)
{
    if (!gcm)
        return VaultCrypto::decryptCbc(key, iv, data);
    if (data.size() < VaultCrypto::tagSize)
        return std::nullopt;
    const qsizetype split = data.size() - VaultCrypto::tagSize;
    return VaultCrypto::open(key, {data.first(split), iv, data.sliced(split)});
}

} // namespace

namespace AuthenticatorProEncrypted {

bool recognizes(const ImportContent &content)
{
    return content.bytes.startsWith(header);
}

bool recognizesLegacy(const ImportContent &content)
{
    return content.bytes.startsWith(legacyHeader);
}

std::expected<ImportBatch, TransferError> read(const ImportContent &content, const DerivedKeys &keys, const KdfPolicy &)
{
    if (!keys.hasPassword())
        return std::unexpected(TransferError::Kind::passwordRequired);
    const QByteArray &bytes = content.bytes;
    const bool gcm = recognizes(content);
    const Layout &layout = gcm ? current : legacy;
    const qsizetype dataStart = header.size() + layout.saltSize + layout.ivSize;
    if (bytes.size() <= dataStart)
        return std::unexpected(TransferError::Kind::damaged);
    KeyDerivation derivation = layout.derivation;
    derivation.salt = bytes.sliced(header.size(), layout.saltSize);
    const auto key = keys.key(derivation);
    if (!key)
        return std::unexpected(key.error());
    const auto plaintext =
        open(*key, bytes.sliced(dataStart - layout.ivSize, layout.ivSize), bytes.sliced(dataStart), gcm);
    if (!plaintext)
        return std::unexpected(TransferError::Kind::wrongPasswordOrDamaged);
    const auto batch = AuthenticatorProBackup::readJson(*plaintext, content.stop);
    // CBC has no tag: a wrong key whose padding happens to fit gives bytes that are no backup.
    if (!batch && !gcm)
        return std::unexpected(TransferError::Kind::wrongPasswordOrDamaged);
    return batch;
}

} // namespace AuthenticatorProEncrypted
