#include "app/ImportQueue.h"

#include "app/TransferMessages.h"

#include <malloc.h>

ImportQueue::ImportQueue(TokenStore &store, const TransferMessages &messages, const QString &keyProgram,
                         QObject *parent)
    : QObject(parent),
      m_store(store),
      m_messages(messages),
      m_keyProgram(keyProgram)
{}

void ImportQueue::importFiles(const QStringList &paths)
{
    const qsizetype room = std::max<qsizetype>(maxQueued - m_queue.size() - (m_current ? 1 : 0), 0);
    const QStringList left = paths.mid(room);
    for (const QString &path : paths.first(std::min(room, paths.size())))
        enqueue(path);
    // Said on the next turn of the event loop: a caller over the bus has its answer first.
    if (!left.isEmpty())
        QMetaObject::invokeMethod(
            this,
            [this, text = tr("一次最多排队导入 %n 个文件，这些文件没有导入：", nullptr, int(maxQueued)) + u'\n'
                          + left.join(u'\n')] { m_messages.inform(text); },
            Qt::QueuedConnection);
}

void ImportQueue::enqueue(ImportFlow::Source source)
{
    m_queue.append(std::move(source));
    if (!m_current)
        importNext();
}

void ImportQueue::importNext()
{
    if (m_queue.isEmpty()) {
        Q_EMIT finished();
        return;
    }
    m_current = std::make_unique<ImportFlow>(m_store, m_messages, m_keyProgram);
    connect(m_current.get(), &ImportFlow::finished, this, &ImportQueue::importDone);
    m_current->start(m_queue.takeFirst());
}

// What one import read goes back to the system before the next file, also when it was
// cancelled: a large file leaves many freed pages behind.
void ImportQueue::importDone()
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_current.reset();
            malloc_trim(0);
            importNext();
        },
        Qt::QueuedConnection);
}
