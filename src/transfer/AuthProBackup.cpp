#include "transfer/AuthProBackup.h"

#include "transfer/VaultCrypto.h"

#include <QJsonDocument>

namespace {

const QByteArray header = "AUTHENTICATORPRO";
const QByteArray legacyHeader = "AuthenticatorPro";

struct Layout
{
    KeyDerivation derivation; // without its salt
    qsizetype saltSize;
    qsizetype ivSize;
};

const Layout current{{KeyDerivation::Function::argon2id, {}, 3, 4, 1 << 16}, 16, VaultCrypto::nonceSize};
const Layout legacy{{KeyDerivation::Function::pbkdf2Sha1, {}, 64000}, 20, 16};

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

namespace AuthProBackup {

bool recognizes(const QByteArray &bytes)
{
    return bytes.startsWith(header) || bytes.startsWith(legacyHeader);
}

std::expected<QByteArray, TransferError> decrypt(const QByteArray &bytes, const DerivedKeys &keys)
{
    if (!keys.hasPassword())
        return std::unexpected(TransferError::Kind::passwordRequired);
    const bool gcm = bytes.startsWith(header);
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
    // CBC has no tag: a wrong key whose padding happens to fit gives bytes that are no JSON.
    if (!plaintext || !QJsonDocument::fromJson(*plaintext).isObject())
        return std::unexpected(TransferError::Kind::wrongPasswordOrDamaged);
    return *plaintext;
}

} // namespace AuthProBackup
