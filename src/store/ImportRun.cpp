#include "store/ImportRun.h"

#include "store/TokenStore.h"

#include <QPointer>

ImportRun::ImportRun(TokenStore &store, QList<ImportedToken> tokens, QObject *parent)
    : QObject(parent),
      m_store(store),
      m_tokens(std::move(tokens))
{}

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
        m_summary.notTried = m_tokens.size() - m_tried;
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

// Each batch waits for a turn of the event loop, where the progress is shown and a stop heard.
void ImportRun::batchAdded(qsizetype size, const ImportSummary &summary)
{
    m_tried += size;
    m_summary.added += summary.added;
    m_summary.alreadyPresent += summary.alreadyPresent;
    m_summary.refused += summary.refused;
    Q_EMIT progressed(m_tried, m_tokens.size());
    start();
}
