#pragma once

#include "transfer/KeyDerivation.h"
#include "transfer/TransferLayer.h"

#include <QFutureWatcher>
#include <QObject>

#include <functional>

// Runs key derivations off the main thread, one at a time, through QtConcurrent: each is a
// pure function of the password, its parameters and its salt, which the transfer layer
// computes, and its key is handed back on the main thread. A derivation asked for while one runs waits for it; cancel()
// drops the key of the running one and the one waiting.
class KeyDeriver : public QObject
{
    Q_OBJECT

public:
    // The key, or absent when the parameters are outside what the function takes.
    using Done = std::function<void(const std::optional<QByteArray> &key)>;

    explicit KeyDeriver(const TransferLayer &layer, QObject *parent = nullptr);

    // Replaces the derivation that waits, if any.
    void derive(const QByteArray &password, const KeyDerivation &derivation, Done done);
    void cancel();

private:
    struct Request
    {
        QByteArray password;
        KeyDerivation derivation;
        Done done;
    };

    void start(Request request);
    void finished();

    const TransferLayer &m_layer;
    QFutureWatcher<std::optional<QByteArray>> m_watcher;
    Done m_running;
    std::optional<Request> m_waiting;
};
