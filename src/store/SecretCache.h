#pragma once

#include "engine/Clock.h"
#include "store/KeychainCalls.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QUuid>

#include <functional>
#include <optional>

// The secrets of the listed accounts as the keychain gave them, and when to ask it again. A
// read asks first for the secrets of the rows on screen, then for the others in batches, so
// that the codes in view come first and no answer holds up the panel for long. A secret
// still missing, or a keychain that could not be read, is asked for after 1 s, then after
// twice as long each time, up to 60 s, and at once when the service announces a change or
// unlocks. A locked keychain is unlocked only at the first read or on a person's action.
class SecretCache : public QObject
{
    Q_OBJECT

public:
    static constexpr double firstRetrySeconds = 1;
    static constexpr double lastRetrySeconds = 60;
    // The rows the panel shows before it is scrolled, and the secrets one later call reads.
    static constexpr qsizetype rowsAtStart = 3;
    static constexpr qsizetype batchSize = 50;
    // The accounts whose secrets are wanted, in the order they are shown.
    using Wanted = std::function<QList<QUuid>()>;

    SecretCache(KeychainCalls &keychain, Clock clock, Wanted wanted, QObject *parent = nullptr);

    std::optional<QString> secret(const QUuid &id) const;
    void insert(const QUuid &id, const QString &secret);
    void remove(const QUuid &id);

    // Reads every wanted secret now; the first read is sent before the panel is built.
    void read();
    // The accounts on screen: their missing secrets are read next, before any other.
    void show(const QList<QUuid> &ids);
    // Reads the missing secrets when their back-off has passed; never a read on every tick.
    void readIfDue(double now);
    KeychainStore::Status status() const { return m_keychain.keychain().status(); }
    // A person asked for the keychain: unlock it (or create its default keyring) through the
    // service's own prompt, or try an unreachable service again at once.
    void unlock();

Q_SIGNALS:
    // The keychain answered a read; secrets may have come.
    void secretsRead();
    void statusChanged();
    // A keychain outcome the person should read, such as a dismissed unlock prompt.
    void message(const QString &message);

private:
    QList<QUuid> nextBatch(bool first) const;
    void readBatch(bool first);
    void batchRead(KeychainStore::ReadResult result);
    void finished(const std::optional<KeychainError> &failure);
    bool needsSecrets() const;
    void keychainChanged();
    void unlockFinished(bool unlocked);

    KeychainCalls &m_keychain;
    Clock m_clock;
    Wanted m_wanted;
    QHash<QUuid, QString> m_secrets;
    QList<QUuid> m_shown;
    QSet<QUuid> m_asked; // by the read under way
    bool m_reading = false;
    bool m_readAgain = false;
    bool m_atStart = true;
    double m_nextRead = 0; // clock time of the next read of missing secrets
    double m_retryDelay = firstRetrySeconds;
};
