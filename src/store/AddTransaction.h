#pragma once

#include "store/AccountList.h"
#include "store/AddJournal.h"
#include "store/NewAccount.h"
#include "store/SecretCache.h"

#include <QObject>
#include <QSet>

#include <functional>
#include <memory>

// Adds accounts as one transaction: the keychain stores their secrets one after the other;
// once it has answered them all, the accounts whose secret it took are listed in order and
// the list is saved once. A list that cannot be saved takes exactly those accounts back out
// and removes their secrets again. Their ids are journaled before the keychain is asked, so
// that what a crash or a keychain answering too late leaves behind is removed.
class AddTransaction : public QObject
{
    Q_OBJECT

public:
    AddTransaction(KeychainCalls &keychain, SecretCache &secrets, AccountList &list, QSettings &settings,
                   QObject *parent = nullptr);

    // The accounts whose secrets the keychain is storing now.
    QList<NewAccount> underWay() const { return m_underWay.values(); }
    // `done` learns, per account, why it was not added, if it was not; from the event loop or
    // before this returns.
    void run(const QList<NewAccount> &accounts, std::function<void(AddOutcomes)> done);
    // Once the list was read (at start, and when the keychain says it changed, which is how a
    // save given up on announces that it landed after all): the items of journaled ids the
    // list does not name are removed, and ids it names are struck.
    void removeUnlisted();

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
    void removeItem(const QUuid &id);
    StoreError refusal(const StoreError &error) const;

    KeychainCalls &m_keychain;
    SecretCache &m_secrets;
    AccountList &m_list;
    QHash<QUuid, NewAccount> m_underWay;
    AddJournal m_journal;
    QSet<QUuid> m_removing;
};
