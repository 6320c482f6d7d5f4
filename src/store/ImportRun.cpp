#include "store/ImportRun.h"

#include "store/TokenStore.h"

#include <QPointer>

ImportRun::ImportRun(TokenStore &store, QList<ImportedToken> tokens, QObject *parent)
    : QObject(parent),
      m_store(store),
      m_tokens(std::move(tokens))
{
    m_probe.setInterval(probeIntervalMs);
    connect(&m_probe, &QTimer::timeout, this, &ImportRun::resumeIfAnswering);
    connect(&m_store, &TokenStore::keychainStatusChanged, this, &ImportRun::resumeIfAnswering);
}

ImportRun::~ImportRun()
{
    setRunning(false);
}

void ImportRun::setRunning(bool running)
{
    if (std::exchange(m_running, running) != running)
        m_store.setImporting(running);
}

void ImportRun::start()
{
    QMetaObject::invokeMethod(this, &ImportRun::addNext, Qt::QueuedConnection);
}

void ImportRun::addNext()
{
    if (m_stopped || m_tried == m_tokens.size()) {
        // A run stopped while the keychain stalled has added part of its last batch.
        m_summary.notTried = m_tokens.size() - m_tried - m_addedBeforeStall;
        setRunning(false);
        Q_EMIT finished(m_summary);
        return;
    }
    setRunning(true);
    const QList<ImportedToken> batch = m_tokens.sliced(m_tried, std::min(batchSize, m_tokens.size() - m_tried));
    m_store.addAll(batch, [self = QPointer(this), size = batch.size()](const ImportSummary &summary) {
        if (self)
            self->batchAdded(size, summary);
    });
}

void ImportRun::stop()
{
    m_stopped = true;
    if (m_probe.isActive())
        resume();
}

// Each batch waits for a turn of the event loop, where the progress is shown and a stop heard.
void ImportRun::batchAdded(qsizetype size, const ImportSummary &summary)
{
    m_summary.added += summary.added;
    if (!summary.refused.isEmpty() && m_store.keychainStatus() == KeychainStore::Status::Unreachable) {
        m_addedBeforeStall += summary.added.size();
        return pause();
    }
    m_tried += size;
    m_summary.alreadyPresent += summary.alreadyPresent - std::exchange(m_addedBeforeStall, 0);
    m_summary.refused += summary.refused;
    Q_EMIT progressed(m_tried, m_tokens.size());
    start();
}

void ImportRun::pause()
{
    m_probe.start();
    Q_EMIT pausedChanged(true);
}

// A read tells whether the keychain answers again; the store reads on its own only with a
// back-off of up to a minute.
void ImportRun::resumeIfAnswering()
{
    if (!m_probe.isActive())
        return;
    if (m_store.keychainStatus() == KeychainStore::Status::Unreachable)
        m_store.unlockKeychain();
    else
        resume();
}

void ImportRun::resume()
{
    m_probe.stop();
    Q_EMIT pausedChanged(false);
    start();
}
