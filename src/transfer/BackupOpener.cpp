#include "transfer/BackupOpener.h"

#include "transfer/BackupReader.h"

BackupOpener::BackupOpener(const KdfPolicy &policy, QObject *parent) : QObject(parent), m_policy(policy) {}

void BackupOpener::open(const QByteArray &bytes, const QString &password, std::function<void(const Result &)> done)
{
    m_deriver.cancel();
    m_bytes = bytes;
    m_keys = DerivedKeys::lookUpOnly(password);
    m_done = std::move(done);
    step();
}

void BackupOpener::cancel()
{
    m_deriver.cancel();
    m_bytes.clear();
    m_keys = {};
    m_done = nullptr;
}

void BackupOpener::step()
{
    const Result result = BackupReader::read(m_bytes, m_keys, m_policy);
    if (!result && result.error().kind() == TransferError::Kind::keyPending) {
        const KeyDerivation derivation = *m_keys.pending();
        m_deriver.derive(m_keys.password(), derivation, [this, derivation](const std::optional<QByteArray> &key) {
            m_keys.insert(derivation, key);
            step();
        });
        return;
    }
    const auto done = std::exchange(m_done, nullptr);
    cancel();
    // Last: it may start another read.
    done(result);
}
