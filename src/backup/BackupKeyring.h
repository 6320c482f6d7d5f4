#pragma once

#include "backup/BackupFailure.h"
#include "backup/BackupKey.h"

#include <QObject>

#include <expected>
#include <functional>
#include <optional>

class KeychainStore;

// The backup key's keychain item (BackupKey), read once and then kept in memory: writing a
// backup, listing the folder's backups and opening another computer's all need it, and none
// should ask the keychain each time. The only code that writes the item.
class BackupKeyring : public QObject
{
    Q_OBJECT

public:
    using Read = std::function<void(const std::expected<BackupKey, BackupFailure> &)>;

    explicit BackupKeyring(KeychainStore &keychain, QObject *parent = nullptr);

    // The key; keychainLocked when the keychain cannot be read, keyMissing when it lost the
    // item. `done` runs at once when the key is in memory.
    void read(Read done);
    // The vault's master key; empty when it cannot be read.
    void readMasterKey(std::function<void(const QByteArray &)> done);
    // Keeps the key in the keychain, replacing the one there, and in memory; `done` learns
    // why not.
    void save(const BackupKey &key, std::function<void(std::expected<void, QString>)> done);
    // Removes the item and forgets the key.
    void forget(std::function<void()> done = {});

private:
    KeychainStore &m_keychain;
    std::optional<BackupKey> m_key;
};
