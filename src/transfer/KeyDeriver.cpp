#include "transfer/KeyDeriver.h"

#include <QtConcurrent>

KeyDeriver::KeyDeriver(const TransferLayer &layer, QObject *parent) : QObject(parent), m_layer(layer)
{
    connect(&m_watcher, &QFutureWatcherBase::finished, this, &KeyDeriver::finished);
}

void KeyDeriver::derive(const QByteArray &password, const KeyDerivation &derivation, Done done)
{
    Request request{password, derivation, std::move(done)};
    if (m_watcher.isRunning())
        m_waiting = std::move(request);
    else
        start(std::move(request));
}

void KeyDeriver::cancel()
{
    m_running = nullptr;
    m_waiting.reset();
}

void KeyDeriver::start(Request request)
{
    m_running = std::move(request.done);
    m_watcher.setFuture(QtConcurrent::run(
        [layer = &m_layer, password = std::move(request.password), derivation = std::move(request.derivation)] {
            return layer->deriveKey(derivation, password);
        }));
}

void KeyDeriver::finished()
{
    const std::optional<QByteArray> key = m_watcher.result();
    const Done done = std::exchange(m_running, nullptr);
    if (m_waiting)
        start(*std::exchange(m_waiting, std::nullopt));
    // Last: it may ask for the next derivation.
    if (done)
        done(key);
}
