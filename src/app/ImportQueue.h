#pragma once

#include "app/ImportFlow.h"

#include <QList>
#include <QObject>

#include <memory>

class TokenStore;
class TransferMessages;

// The imports waiting their turn, so that the dialogs of one import are on the screen at a
// time: files from a launch, the bus, the menu or the panel, and accounts read already.
class ImportQueue : public QObject
{
    Q_OBJECT

public:
    // The most files waiting to be imported at once: more, from one launch or one call over
    // the bus, would be an hour of dialogs; the rest are named and left out.
    static constexpr qsizetype maxQueued = 20;

    // `keyProgram` derives the keys of a file with a password (see KeyDeriver).
    ImportQueue(TokenStore &store, const TransferMessages &messages, const QString &keyProgram,
                QObject *parent = nullptr);

    // Queues the files, each imported with a summary of its own.
    void importFiles(const QStringList &paths);
    // Queues an import that asks the person for its file, or one of accounts read already.
    void enqueue(ImportFlow::Source source);

Q_SIGNALS:
    // The queue ran empty.
    void finished();

private:
    void importNext();
    void importDone();

    TokenStore &m_store;
    const TransferMessages &m_messages;
    const QString &m_keyProgram;
    QList<ImportFlow::Source> m_queue;
    // The import on the screen, until the turn after it ends.
    std::unique_ptr<ImportFlow> m_current;
};
