#pragma once

#include "transfer/TransferLayer.h"

#include <QObject>

// The transfer layer as a Qt plugin: every reader and writer of this folder behind one
// interface.
class TransferPlugin : public QObject, public TransferLayer
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID CORVANE_TRANSFER_LAYER_IID)
    Q_INTERFACES(TransferLayer)

public:
    std::expected<ImportBatch, TransferError> readBackup(const QByteArray &bytes, const QString &password,
                                                         std::stop_token stop) const override;
    std::expected<ImportBatch, TransferError> readBackup(const QByteArray &bytes, const QString &password,
                                                         const DerivedKeyTable &keys, const KdfPolicy &policy,
                                                         std::optional<KeyDerivation> &pending,
                                                         std::stop_token stop) const override;
    std::optional<QByteArray> deriveKey(const KeyDerivation &derivation, const QByteArray &password) const override;
    KeyDerivation newVaultSlot() const override;
    std::expected<QByteArray, TransferError> writeVault(const QList<ImportedToken> &tokens, const KeyDerivation &slot,
                                                        const QByteArray &key) const override;
    std::expected<VaultKey, TransferError> newVaultKey(const KeyDerivation &slot, const QByteArray &key) const override;
    std::expected<QByteArray, TransferError> writeVault(const QList<ImportedToken> &tokens,
                                                        const VaultKey &key) const override;
    std::expected<ImportBatch, TransferError> readVault(const QByteArray &bytes,
                                                        const QByteArray &masterKey) const override;
    std::optional<KeyDerivation> vaultSlot(const QByteArray &bytes) const override;
    std::expected<VaultKey, TransferError> vaultKeyOf(const QByteArray &bytes,
                                                      const QByteArray &slotKey) const override;
    QByteArray writeLinks(const QList<ImportedToken> &tokens) const override;
    QString link(const ImportedToken &token) const override;
    std::expected<MigrationBatch, TransferError> readMigrationLink(const QString &text) const override;
    std::expected<QString, TransferError> accountLink(const QrDecoder::LuminanceImage &image) const override;
    QImage qrImage(const QByteArray &text) const override;
    std::expected<IconPack, TransferError> readIconPack(const QString &path) const override;
};
