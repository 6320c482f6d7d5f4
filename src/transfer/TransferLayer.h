#pragma once

#include "engine/IconPack.h"
#include "engine/ImportedToken.h"
#include "transfer/ImportBatch.h"
#include "transfer/KdfPolicy.h"
#include "transfer/KeyDerivation.h"
#include "transfer/MigrationBatch.h"
#include "transfer/QrDecoder.h"
#include "transfer/TransferError.h"
#include "transfer/VaultKey.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QtPlugin>

#include <expected>
#include <stop_token>

// Moving accounts in and out as the app sees it: backup files, phone-export links and QR
// codes. It is implemented by a plugin the app opens on first use, so that a start maps
// none of the libraries behind it (ZXing, protobuf, libqrencode, the vault cryptography).
class TransferLayer
{
public:
    virtual ~TransferLayer() = default;

    // ImportReader, deriving each key on the spot. A read whose `stop` is asked to stop (from
    // another thread) ends soon after, as cancelled.
    virtual std::expected<ImportBatch, TransferError> readBackup(const QByteArray &bytes, const QString &password,
                                                                 std::stop_token stop) const = 0;
    // ImportReader with only the keys in `keys`: a read that needs another ends with
    // keyPending and names it in `pending`, so that it is derived off the main thread.
    virtual std::expected<ImportBatch, TransferError> readBackup(const QByteArray &bytes, const QString &password,
                                                                 const DerivedKeyTable &keys, const KdfPolicy &policy,
                                                                 std::optional<KeyDerivation> &pending,
                                                                 std::stop_token stop) const = 0;
    // A pure function of its arguments; `corvane --derive-key` runs it for KeyDeriver.
    virtual std::optional<QByteArray> deriveKey(const KeyDerivation &derivation, const QByteArray &password) const = 0;
    // AegisVault: a new password slot, and the vault encrypted with the key it derives.
    virtual KeyDerivation newVaultSlot() const = 0;
    virtual std::expected<QByteArray, TransferError>
    writeVault(const QList<ImportedToken> &tokens, const KeyDerivation &slot, const QByteArray &key) const = 0;
    // AegisVault kept by automatic backups: a master key and its slot made once, then vaults
    // written and opened with that key alone, no key derivation.
    virtual std::expected<VaultKey, TransferError> newVaultKey(const KeyDerivation &slot,
                                                               const QByteArray &key) const = 0;
    virtual std::expected<QByteArray, TransferError> writeVault(const QList<ImportedToken> &tokens,
                                                                const VaultKey &key) const = 0;
    virtual std::expected<ImportBatch, TransferError> readVault(const QByteArray &bytes,
                                                                const QByteArray &masterKey) const = 0;
    // Another computer's vault key, taken over so that both open each other's backups: its
    // slot's derivation, then the key unwrapped with the derived key.
    virtual std::optional<KeyDerivation> vaultSlot(const QByteArray &bytes) const = 0;
    virtual std::expected<VaultKey, TransferError> vaultKeyOf(const QByteArray &bytes,
                                                              const QByteArray &slotKey) const = 0;
    // OtpauthLinks
    virtual QByteArray writeLinks(const QList<ImportedToken> &tokens) const = 0;
    virtual QString link(const ImportedToken &token) const = 0;
    // MigrationLink
    virtual std::expected<MigrationBatch, TransferError> readMigrationLink(const QString &text) const = 0;
    // QrDecoder and QrEncoder
    virtual std::expected<QString, TransferError> accountLink(const QrDecoder::LuminanceImage &image) const = 0;
    virtual QImage qrImage(const QByteArray &text) const = 0;
    // IconPackReader: an Aegis icon pack's folder or zip file. Reads files: run it off the main thread.
    virtual std::expected<IconPack, TransferError> readIconPack(const QString &path) const = 0;
};

#define CORVANE_TRANSFER_LAYER_IID "com.local.Corvane.TransferLayer/5"
Q_DECLARE_INTERFACE(TransferLayer, CORVANE_TRANSFER_LAYER_IID)
