#pragma once

#include "backup/LayerSource.h"
#include "transfer/KeyDeriver.h"

#include <QCoreApplication>
#include <QObject>

#include <expected>
#include <functional>
#include <memory>
#include <optional>

class BackupKeyring;

// Makes the backup key from a password: the password's key is derived off the main thread
// (KeyDeriver), the vault's master key made with it and kept in the keychain (BackupKeyring).
// Where another computer backs up to the folder already, its key is taken over instead (the
// same password must open it), so that each computer opens the other's backups. The
// password is not kept.
class BackupSetup : public QObject
{
    Q_OBJECT

public:
    // Why not, in a sentence for the person.
    using Done = std::function<void(std::expected<void, QString>)>;

    BackupSetup(BackupKeyring &keyring, LayerSource layer, QObject *parent = nullptr);

    // The binary that answers KeyDeriver::option; Corvane's own unless a test names it.
    void setKeyProgram(const QString &program) { m_keyProgram = program; }

    // `host` and `computer` tell this computer's backups in `folder` from the others'.
    void run(const QString &folder, const QString &password, const QString &host, const QString &computer, Done done);

private:
    // Another computer's newest backup, and its password slot when it has one.
    struct OtherBackup
    {
        QByteArray vault;
        std::optional<KeyDerivation> slot;
    };
    void deriveKey(const QString &password, const TransferLayer *layer, const OtherBackup &other, const Done &done);

    BackupKeyring &m_keyring;
    LayerSource m_layer;
    QString m_keyProgram = QCoreApplication::applicationFilePath();
    std::unique_ptr<KeyDeriver> m_deriver;
};
