#include "transfer/BackupOpener.h"

#include "transfer/BackupReader.h"

#include <QtConcurrent>

BackupOpener::BackupOpener(const KdfPolicy &policy, QObject *parent) : QObject(parent), m_policy(policy)
{
    connect(&m_derivation, &QFutureWatcherBase::finished, this, &BackupOpener::derived);
}

void BackupOpener::open(const QByteArray &bytes, const QString &password, std::function<void(const Result &)> done)
{
    ++m_read;
    m_bytes = bytes;
    m_keys = DerivedKeys::lookUpOnly(password);
    m_done = std::move(done);
    if (!m_derivation.isRunning())
        step();
}

void BackupOpener::cancel()
{
    ++m_read;
    m_bytes.clear();
    m_keys = {};
    m_done = nullptr;
}

void BackupOpener::step()
{
    const Result result = BackupReader::read(m_bytes, m_keys, m_policy);
    if (!result && result.error().kind() == TransferError::Kind::keyPending) {
        m_deriving = *m_keys.pending();
        m_derivingFor = m_read;
        m_derivation.setFuture(QtConcurrent::run(
            [password = m_keys.password(), derivation = m_deriving] { return derivation.derive(password); }));
        return;
    }
    // Called last: it may start another read.
    const auto done = std::exchange(m_done, nullptr);
    m_bytes.clear();
    m_keys = {};
    done(result);
}

void BackupOpener::derived()
{
    if (m_derivingFor == m_read)
        m_keys.insert(m_deriving, m_derivation.result());
    if (isBusy())
        step();
}
