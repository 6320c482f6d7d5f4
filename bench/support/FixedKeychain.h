#pragma once

#include "store/KeychainStore.h"
#include "store/TokenAccount.h"

// A keychain that gives every listed account the same secret at once, from memory, so
// that a benchmark measures the store and the panel alone.
class FixedKeychain : public KeychainStore
{
public:
    static inline const QString secret = QStringLiteral("GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ");

    explicit FixedKeychain(const QList<TokenAccount> &accounts)
    {
        for (const TokenAccount &account : accounts)
            m_secrets.insert(account.id, secret);
        setStatus(Status::Available);
    }

    void save(const QString &saved, const QUuid &id, std::function<void(SaveResult)> done) override
    {
        m_secrets.insert(id, saved);
        done({});
    }
    void remove(const QUuid &id, std::function<void(bool)> done) override
    {
        m_secrets.remove(id);
        if (done)
            done(true);
    }
    void read(const QList<QUuid> &ids, std::function<void(ReadResult)> done) override
    {
        Secrets found;
        for (const QUuid &id : ids)
            found.insert(id, m_secrets.value(id));
        done(found);
    }
    void unlock() override {}

private:
    Secrets m_secrets;
};
