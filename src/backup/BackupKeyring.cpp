#include "backup/BackupKeyring.h"

#include "store/KeychainStore.h"

#include <QPointer>

BackupKeyring::BackupKeyring(KeychainStore &keychain, QObject *parent) : QObject(parent), m_keychain(keychain) {}

void BackupKeyring::read(Read done)
{
    if (m_key)
        return done(*m_key);
    m_keychain.read({BackupKey::itemId}, [this, guard = QPointer(this), done](const KeychainStore::ReadResult &read) {
        if (!guard)
            return;
        if (!read)
            return done(std::unexpected(BackupFailure::Kind::keychainLocked));
        if (!m_key) // a key saved meanwhile is the newer one
            m_key = BackupKey::fromText(read->value(BackupKey::itemId));
        if (!m_key)
            return done(std::unexpected(BackupFailure::Kind::keyMissing));
        done(*m_key);
    });
}

void BackupKeyring::readMasterKey(std::function<void(const QByteArray &)> done)
{
    read([done](const std::expected<BackupKey, BackupFailure> &key) {
        done(key ? key->vault.masterKey : QByteArray());
    });
}

void BackupKeyring::save(const BackupKey &key, std::function<void(std::expected<void, QString>)> done)
{
    m_keychain.save(key.toText(), BackupKey::itemId,
                    [this, guard = QPointer(this), key, done](const KeychainStore::SaveResult &saved) {
                        if (!guard)
                            return;
                        if (!saved)
                            return done(std::unexpected(saved.error().description()));
                        m_key = key;
                        done({});
                    });
}

void BackupKeyring::forget(std::function<void()> done)
{
    m_key.reset();
    m_keychain.remove(BackupKey::itemId, [done](bool) {
        if (done)
            done();
    });
}
