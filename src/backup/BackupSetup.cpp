#include "backup/BackupSetup.h"

#include "backup/BackupCatalog.h"
#include "backup/BackupFailure.h"
#include "backup/BackupKeyring.h"
#include "backup/BackupPolicy.h"

#include <QFileInfo>
#include <QtConcurrentRun>

BackupSetup::BackupSetup(BackupKeyring &keyring, LayerSource layer, QObject *parent)
    : QObject(parent),
      m_keyring(keyring),
      m_layer(std::move(layer))
{}

void BackupSetup::run(const QString &folder, const QString &password, const QString &host, const QString &computer,
                      Done done)
{
    if (password.size() < BackupPolicy::minimumPasswordLength)
        return done(std::unexpected(tr("密码至少要有 %n 个字符。", nullptr, BackupPolicy::minimumPasswordLength)));
    if (!QFileInfo(folder).isDir()) // nothing is turned on for a folder that is not there
        return done(std::unexpected(BackupFailure(BackupFailure::Kind::folderMissing).description()));
    const auto layer = m_layer();
    if (!layer)
        return done(std::unexpected(layer.error().description()));
    // Finding another computer's backup reads files: on a worker.
    QtConcurrent::run([folder, host, computer, layer = *layer] {
        OtherBackup other{BackupCatalog::newestOtherVault(folder, host, computer), std::nullopt};
        if (!other.vault.isEmpty())
            other.slot = layer->vaultSlot(other.vault);
        return other;
    }).then(this, [=, this, layer = *layer](const OtherBackup &other) { deriveKey(password, layer, other, done); });
}

void BackupSetup::deriveKey(const QString &password, const TransferLayer *layer, const OtherBackup &other,
                            const Done &done)
{
    if (!m_deriver)
        m_deriver = std::make_unique<KeyDeriver>(m_keyProgram);
    const bool adopted = other.slot.has_value();
    const KeyDerivation slot = other.slot.value_or(layer->newVaultSlot());
    m_deriver->derive(password.toUtf8(), slot, [=, this](const std::optional<QByteArray> &slotKey) {
        using Made = std::expected<VaultKey, TransferError>;
        const Made vault = !slotKey  ? Made(std::unexpected(TransferError::Kind::damaged))
                           : adopted ? layer->vaultKeyOf(other.vault, *slotKey)
                                     : layer->newVaultKey(slot, *slotKey);
        if (!vault && vault.error().kind() == TransferError::Kind::wrongPassword)
            return done(std::unexpected(tr("密码与文件夹中另一台电脑的备份不同。")));
        if (!vault)
            return done(std::unexpected(tr("无法生成备份密钥。")));
        m_keyring.save(BackupKey::withNewDigestKey(*vault), done);
    });
}
