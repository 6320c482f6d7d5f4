#include "transfer/BackupOpener.h"

BackupOpener::BackupOpener(const TransferLayer &layer, const KdfPolicy &policy, QObject *parent)
    : QObject(parent),
      m_layer(layer),
      m_policy(policy),
      m_deriver(layer)
{}

void BackupOpener::open(const QByteArray &bytes, const QString &password, std::function<void(const Result &)> done)
{
    m_deriver.cancel();
    m_bytes = bytes;
    m_password = password;
    m_keys.clear();
    m_done = std::move(done);
    step();
}

void BackupOpener::cancel()
{
    m_deriver.cancel();
    m_bytes.clear();
    m_password.clear();
    m_keys.clear();
    m_done = nullptr;
}

void BackupOpener::step()
{
    std::optional<KeyDerivation> pending;
    const Result result = m_layer.readBackup(m_bytes, m_password, m_keys, m_policy, pending);
    if (!result && result.error().kind() == TransferError::Kind::keyPending && pending) {
        m_deriver.derive(m_password.toUtf8(), *pending,
                         [this, derivation = *pending](const std::optional<QByteArray> &key) {
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
