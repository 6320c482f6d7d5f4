#include "transfer/ImportOpener.h"

#include <QtConcurrent>

ImportOpener::ImportOpener(const TransferLayer &layer, const QString &keyProgram, const KdfPolicy &policy,
                           QObject *parent)
    : QObject(parent),
      m_layer(layer),
      m_policy(policy),
      m_deriver(keyProgram)
{}

ImportOpener::~ImportOpener()
{
    cancel();
}

void ImportOpener::open(const QByteArray &bytes, const QString &password, std::function<void(const Result &)> done)
{
    cancel();
    m_bytes = bytes;
    m_password = password;
    m_done = std::move(done);
    step();
}

void ImportOpener::cancel()
{
    ++m_generation;
    m_stop.request_stop();
    m_stop = std::stop_source();
    m_deriver.cancel();
    m_bytes.clear();
    m_password.clear();
    m_keys.clear();
    m_done = nullptr;
}

// A large file takes a while to read, and is read again after each derivation.
void ImportOpener::step()
{
    auto *watcher = new QFutureWatcher<Step>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation = m_generation] {
        watcher->deleteLater();
        if (generation == m_generation)
            stepped(watcher->result());
    });
    watcher->setFuture(QtConcurrent::run([layer = &m_layer, bytes = m_bytes, password = m_password, keys = m_keys,
                                          policy = m_policy, stop = m_stop.get_token()] {
        Step outcome{std::unexpected(TransferError::Kind::keyPending), std::nullopt};
        outcome.result = layer->readBackup(bytes, password, keys, policy, outcome.pending, stop);
        return outcome;
    }));
}

void ImportOpener::stepped(const Step &outcome)
{
    if (!outcome.result && outcome.result.error().kind() == TransferError::Kind::keyPending && outcome.pending) {
        m_deriver.derive(m_password.toUtf8(), *outcome.pending,
                         [this, derivation = *outcome.pending](const std::optional<QByteArray> &key) {
                             m_keys.insert(derivation, key);
                             step();
                         });
        return;
    }
    const auto done = std::exchange(m_done, nullptr);
    cancel();
    // Last: it may start another read.
    done(outcome.result);
}
