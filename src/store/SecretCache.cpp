#include "store/SecretCache.h"

#include "engine/Logging.h"

#include <algorithm>
#include <limits>
#include <utility>

using namespace Qt::Literals::StringLiterals;

SecretCache::SecretCache(KeychainCalls &keychain, Clock clock, Wanted wanted, QObject *parent)
    : QObject(parent),
      m_keychain(keychain),
      m_clock(std::move(clock)),
      m_wanted(std::move(wanted))
{
    KeychainStore &store = m_keychain.keychain();
    connect(&store, &KeychainStore::statusChanged, this, [this] {
        m_nextRead = 0; // a save may find the keychain unusable: the next tick reads again
        Q_EMIT statusChanged();
    });
    connect(&store, &KeychainStore::changed, this, &SecretCache::keychainChanged);
    connect(&store, &KeychainStore::unlockFinished, this, &SecretCache::unlockFinished);
}

std::optional<QString> SecretCache::secret(const QUuid &id) const
{
    if (const auto it = m_secrets.constFind(id); it != m_secrets.constEnd())
        return *it;
    return std::nullopt;
}

void SecretCache::insert(const QUuid &id, const QString &secret)
{
    m_secrets.insert(id, secret);
}

void SecretCache::remove(const QUuid &id)
{
    m_secrets.remove(id);
}

void SecretCache::readIfDue(double now)
{
    if (!m_reading && now >= m_nextRead && needsSecrets())
        read();
}

void SecretCache::read()
{
    if (m_reading) {
        m_readAgain = true;
        return;
    }
    m_reading = true;
    m_readAgain = false;
    m_asked.clear();
    readBatch(true);
}

void SecretCache::show(const QList<QUuid> &ids)
{
    m_shown = ids;
    // A secret the last read did not find waits for the retry.
    if (!m_reading && std::ranges::any_of(ids, [this](const QUuid &id) {
            return !m_secrets.contains(id) && !m_asked.contains(id);
        }))
        read();
}

// The missing secrets of the rows on screen (the top rows until the panel says), and, but
// for a read's first call, others up to a batch, in list order. Each is asked once a read.
QList<QUuid> SecretCache::nextBatch(bool first) const
{
    const QList<QUuid> wanted = m_wanted();
    QList<QUuid> batch;
    const auto take = [&](const QList<QUuid> &ids) {
        for (const QUuid &id : ids) {
            if (batch.size() >= batchSize)
                return;
            if (!m_secrets.contains(id) && !m_asked.contains(id) && !batch.contains(id))
                batch.append(id);
        }
    };
    take(m_shown.isEmpty() ? wanted.first(std::min(rowsAtStart, wanted.size())) : m_shown);
    if (!first || batch.isEmpty())
        take(wanted);
    return batch;
}

// A read's first call goes out even with nothing to ask: it finds out the keychain's state.
void SecretCache::readBatch(bool first)
{
    const QList<QUuid> batch = nextBatch(first);
    if (batch.isEmpty() && !first)
        return finished(std::nullopt);
    for (const QUuid &id : batch)
        m_asked.insert(id);
    m_keychain.read(batch, [this](KeychainStore::ReadResult result) { batchRead(std::move(result)); });
}

void SecretCache::batchRead(KeychainStore::ReadResult result)
{
    if (!result)
        return finished(result.error());
    const QList<QUuid> wanted = m_wanted();
    const QSet<QUuid> listed(wanted.cbegin(), wanted.cend());
    for (auto it = result->cbegin(); it != result->cend(); ++it) {
        if (listed.contains(it.key()))
            m_secrets.insert(it.key(), it.value());
    }
    if (!result->isEmpty())
        Q_EMIT secretsRead();
    readBatch(false);
}

void SecretCache::finished(const std::optional<KeychainError> &failure)
{
    m_reading = false;
    if (failure)
        qCWarning(lcStore) << "cannot read the secrets:" << failure->description();
    // At most one unlock prompt at start-up; after that only a person's action asks.
    if (std::exchange(m_atStart, false) && status() == KeychainStore::Status::Locked)
        m_keychain.keychain().unlock();
    if (needsSecrets()) {
        m_nextRead = m_clock() + m_retryDelay;
        m_retryDelay = std::min(m_retryDelay * 2, lastRetrySeconds);
    } else {
        // Nothing to read until the keychain's state changes.
        m_nextRead = std::numeric_limits<double>::infinity();
        m_retryDelay = firstRetrySeconds;
    }
    Q_EMIT secretsRead();
    if (m_readAgain)
        read();
}

// A secret is missing, or the keychain could not be read at all.
bool SecretCache::needsSecrets() const
{
    if (status() != KeychainStore::Status::Available)
        return true;
    return std::ranges::any_of(m_wanted(), [this](const QUuid &id) { return !m_secrets.contains(id); });
}

// The service announced a change: read again at once, and start the back-off afresh.
void SecretCache::keychainChanged()
{
    if (!needsSecrets())
        return;
    m_retryDelay = firstRetrySeconds;
    read();
}

void SecretCache::unlock()
{
    if (status() == KeychainStore::Status::Unreachable)
        read();
    else
        m_keychain.keychain().unlock();
}

void SecretCache::unlockFinished(bool unlocked)
{
    if (unlocked) {
        m_retryDelay = firstRetrySeconds;
        read();
        return;
    }
    Q_EMIT message(status() == KeychainStore::Status::NoDefaultKeyring ? tr("没有创建默认钥匙串。")
                                                                       : tr("钥匙串仍处于锁定状态。"));
}
