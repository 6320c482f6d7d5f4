#include "transfer/TransferPlugin.h"

#include "transfer/AegisVault.h"
#include "transfer/DerivedKeys.h"
#include "transfer/IconPackReader.h"
#include "transfer/ImportReader.h"
#include "transfer/MigrationLink.h"
#include "transfer/OtpauthLinks.h"
#include "transfer/QrEncoder.h"

std::expected<ImportBatch, TransferError> TransferPlugin::readBackup(const QByteArray &bytes, const QString &password,
                                                                     std::stop_token stop) const
{
    return ImportReader::read(bytes, password, {}, std::move(stop));
}

std::expected<ImportBatch, TransferError>
TransferPlugin::readBackup(const QByteArray &bytes, const QString &password, const DerivedKeyTable &keys,
                           const KdfPolicy &policy, std::optional<KeyDerivation> &pending, std::stop_token stop) const
{
    DerivedKeys derived = DerivedKeys::lookUpOnly(password);
    for (auto key = keys.cbegin(); key != keys.cend(); ++key)
        derived.insert(key.key(), key.value());
    auto batch = ImportReader::read(bytes, derived, policy, std::move(stop));
    pending = derived.pending();
    return batch;
}

std::optional<QByteArray> TransferPlugin::deriveKey(const KeyDerivation &derivation, const QByteArray &password) const
{
    return derivation.derive(password);
}

KeyDerivation TransferPlugin::newVaultSlot() const
{
    return AegisVault::newSlot();
}

std::expected<QByteArray, TransferError>
TransferPlugin::writeVault(const QList<ImportedToken> &tokens, const KeyDerivation &slot, const QByteArray &key) const
{
    return AegisVault::write(tokens, slot, key);
}

std::expected<VaultKey, TransferError> TransferPlugin::newVaultKey(const KeyDerivation &slot,
                                                                   const QByteArray &key) const
{
    return AegisVault::newKey(slot, key);
}

std::expected<QByteArray, TransferError> TransferPlugin::writeVault(const QList<ImportedToken> &tokens,
                                                                    const VaultKey &key) const
{
    return AegisVault::write(tokens, key);
}

std::expected<ImportBatch, TransferError> TransferPlugin::readVault(const QByteArray &bytes,
                                                                    const QByteArray &masterKey) const
{
    return AegisVault::readWithMasterKey(bytes, masterKey);
}

std::optional<KeyDerivation> TransferPlugin::vaultSlot(const QByteArray &bytes) const
{
    return AegisVault::firstSlot(bytes);
}

std::expected<VaultKey, TransferError> TransferPlugin::vaultKeyOf(const QByteArray &bytes,
                                                                  const QByteArray &slotKey) const
{
    return AegisVault::keyOf(bytes, slotKey);
}

QByteArray TransferPlugin::writeLinks(const QList<ImportedToken> &tokens) const
{
    return OtpauthLinks::write(tokens);
}

QString TransferPlugin::link(const ImportedToken &token) const
{
    return OtpauthLinks::link(token);
}

std::expected<MigrationBatch, TransferError> TransferPlugin::readMigrationLink(const QString &text) const
{
    return MigrationLink::parse(text);
}

std::expected<QString, TransferError> TransferPlugin::accountLink(const QrDecoder::LuminanceImage &image) const
{
    return QrDecoder::accountLink(image);
}

QImage TransferPlugin::qrImage(const QByteArray &text) const
{
    return QrEncoder::modules(text);
}

std::expected<IconPack, TransferError> TransferPlugin::readIconPack(const QString &path) const
{
    return IconPackReader::read(path);
}
