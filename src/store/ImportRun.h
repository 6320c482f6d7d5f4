#pragma once

#include "engine/ImportedToken.h"
#include "store/ImportSummary.h"

#include <QList>
#include <QObject>
#include <QTimer>

class TokenStore;

// Adds a long list of tokens in small batches, each stored and listed as one add of its
// own, so that the person sees how far it has come and can stop it between two batches:
// what was added by then stays listed and saved, the rest is not tried. A keychain that stops
// answering pauses the run rather than refusing the rest: the batch it stalled in is tried
// again once the keychain answers.
class ImportRun : public QObject
{
    Q_OBJECT

public:
    static constexpr qsizetype batchSize = 10;

    ImportRun(TokenStore &store, QList<ImportedToken> tokens, QObject *parent = nullptr);
    // A run dropped before it finished tells the store the import is over.
    ~ImportRun() override;

    // Starts the first batch on the next turn of the event loop.
    void start();
    // No batch starts after the one under way.
    void stop();
    qsizetype total() const { return m_tokens.size(); }

Q_SIGNALS:
    // After each batch: how many tokens have been tried.
    void progressed(qsizetype tried, qsizetype total);
    void finished(const ImportSummary &summary);
    // The keychain stopped answering and the run waits for it (true), or it goes on (false).
    void pausedChanged(bool paused);

private:
    static constexpr int probeIntervalMs = 1000;

    void addNext();
    void batchAdded(qsizetype size, const ImportSummary &summary);
    void setRunning(bool running);
    void pause();
    void resumeIfAnswering();
    void resume();

    TokenStore &m_store;
    QList<ImportedToken> m_tokens;
    qsizetype m_tried = 0;
    bool m_stopped = false;
    bool m_running = false;
    ImportSummary m_summary;
    // Asks the keychain again while the run is paused.
    QTimer m_probe;
    // Accounts of the batch under way added before the keychain stalled: the next try finds
    // them listed already.
    qsizetype m_addedBeforeStall = 0;
};
