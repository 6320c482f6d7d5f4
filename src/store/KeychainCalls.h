#pragma once

#include "store/KeychainStore.h"

#include <QObject>

#include <chrono>
#include <functional>

class QEventLoop;

// The keychain as the store's pieces call it. Each call counts as under way until its answer
// comes, so that quitting can wait for a deletion or a save; an answer that comes once the
// store is gone reaches nobody.
class KeychainCalls : public QObject
{
    Q_OBJECT

public:
    explicit KeychainCalls(KeychainStore &keychain, QObject *parent = nullptr);

    KeychainStore &keychain() const { return m_keychain; }
    void save(const QString &secret, const QUuid &id, std::function<void(KeychainStore::SaveResult)> done);
    void remove(const QUuid &id, std::function<void(bool removed)> done);
    void read(const QList<QUuid> &ids, std::function<void(KeychainStore::ReadResult)> done);

    bool busy() const { return m_underWay > 0; }
    // Runs the event loop, at most `bound`, until no call is under way.
    void await(std::chrono::milliseconds bound);

private:
    template <typename Answer> std::function<void(Answer)> counted(std::function<void(Answer)> done);

    KeychainStore &m_keychain;
    int m_underWay = 0;
    QEventLoop *m_waiting = nullptr;
};
