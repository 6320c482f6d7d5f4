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
    m_keychain.readAll([this](KeychainStore::ReadResult result) { answered(std::move(result)); });
}

void SecretCache::answered(KeychainStore::ReadResult result)
{
    m_reading = false;
    if (result) {
        for (const QUuid &id : m_wanted()) {
            if (const auto it = result->constFind(id); it != result->constEnd())
                m_secrets.insert(id, *it);
        }
    } else {
        qCWarning(lcStore) << "cannot read the secrets:" << result.error().description();
    }
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
    Q_EMIT message(status() == KeychainStore::Status::NoDefaultKeyring ? u"没有创建默认钥匙串。"_s
                                                                       : u"钥匙串仍处于锁定状态。"_s);
}
