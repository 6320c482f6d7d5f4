#pragma once

#include "store/AccountList.h"
#include "store/NewAccount.h"
#include "store/SecretCache.h"

#include <QObject>

#include <functional>
#include <memory>

// Adds accounts as one transaction: the keychain stores their secrets one after the other;
// once it has answered them all, the accounts whose secret it took are listed in order and
// the list is saved once. A list that cannot be saved takes exactly those accounts back out
// and removes their secrets again.
class AddTransaction : public QObject
{
    Q_OBJECT

public:
    AddTransaction(KeychainCalls &keychain, SecretCache &secrets, AccountList &list, QObject *parent = nullptr);

    // The accounts whose secrets the keychain is storing now.
    QList<NewAccount> underWay() const { return m_underWay.values(); }
    // `done` learns, per account, why it was not added, if it was not; from the event loop or
    // before this returns.
    void run(const QList<NewAccount> &accounts, std::function<void(AddOutcomes)> done);

Q_SIGNALS:
    // Accounts were listed and the list saved.
    void listed();

private:
    struct Run
    {
        QList<NewAccount> accounts;
        AddOutcomes outcomes;
        std::function<void(AddOutcomes)> done;
        bool looping = false;
    };
    void storeNext(const std::shared_ptr<Run> &run);
    void list(const QList<NewAccount> &accounts, AddOutcomes &outcomes);

    KeychainCalls &m_keychain;
    SecretCache &m_secrets;
    AccountList &m_list;
    QHash<QUuid, NewAccount> m_underWay;
};
