#include "store/AddTransaction.h"

#include "engine/Logging.h"

AddTransaction::AddTransaction(KeychainCalls &keychain, SecretCache &secrets, AccountList &list, QSettings &settings,
                               QObject *parent)
    : QObject(parent),
      m_keychain(keychain),
      m_secrets(secrets),
      m_list(list),
      m_journal(settings)
{}

void AddTransaction::run(const QList<NewAccount> &accounts, std::function<void(AddOutcomes)> done)
{
    QList<QUuid> ids;
    for (const NewAccount &entry : accounts)
        ids.append(entry.account.id);
    if (const auto failed = m_journal.record(ids))
        return done(AddOutcomes(accounts.size(), StoreError(*failed)));
    for (const NewAccount &entry : accounts)
        m_underWay.insert(entry.account.id, entry);
    storeNext(std::make_shared<Run>(accounts, AddOutcomes(), std::move(done)));
}

// Each secret within the keychain's own bound. Answers that come before `save` returns
// continue the loop here rather than nesting a call.
void AddTransaction::storeNext(const std::shared_ptr<Run> &run)
{
    run->looping = true;
    while (run->outcomes.size() < run->accounts.size()) {
        const qsizetype asked = run->outcomes.size();
        const NewAccount &entry = run->accounts.at(asked);
        m_keychain.save(entry.secret, entry.account.id, [this, run](KeychainStore::SaveResult saved) {
            run->outcomes.append(saved ? std::nullopt : std::optional<StoreError>(saved.error()));
            if (!run->looping)
                storeNext(run);
        });
        if (run->outcomes.size() == asked) {
            run->looping = false; // the answer comes from the event loop
            return;
        }
    }
    run->looping = false;
    list(run->accounts, run->outcomes);
    run->done(std::move(run->outcomes));
}

// Lists the accounts the keychain took, then saves and shows them.
void AddTransaction::list(const QList<NewAccount> &accounts, AddOutcomes &outcomes)
{
    QList<TokenAccount> added;
    for (qsizetype i = 0; i < accounts.size(); ++i) {
        const NewAccount &entry = accounts.at(i);
        m_underWay.remove(entry.account.id);
        if (outcomes.at(i)) {
            outcomes[i] = refusal(*outcomes.at(i));
            removeItem(entry.account.id); // a save given up on may land all the same
            continue;
        }
        m_secrets.insert(entry.account.id, entry.secret);
        added.append(entry.account);
    }
    // An unreachable service is tried again at once; a locked one waits for the person, whom
    // the refusal offers to unlock it.
    if (added.size() < accounts.size() && m_secrets.status() == KeychainStore::Status::Unreachable)
        m_secrets.unlock();
    if (added.isEmpty())
        return;
    QList<QUuid> ids;
    for (const TokenAccount &account : std::as_const(added))
        ids.append(account.id);
    m_list.append(added);
    // The list that names them and the journal without them are written at once (struck after
    // `append`, whose listeners might write the settings).
    m_journal.strikeWithNextSave(ids);
    if (auto saved = m_list.save(); !saved) {
        qCWarning(lcStore) << saved.error().description();
        m_journal.putBack(ids);
        // Exactly these accounts go back out, with their secrets.
        for (const TokenAccount &account : added) {
            removeItem(account.id);
            m_secrets.remove(account.id);
        }
        m_list.takeBack(added);
        for (std::optional<StoreError> &outcome : outcomes)
            outcome = outcome.value_or(saved.error());
        return;
    }
    Q_EMIT listed();
}

// A locked keyring says so in the words of the add it refused.
StoreError AddTransaction::refusal(const StoreError &error) const
{
    if (error.isKeychainError() && m_secrets.status() == KeychainStore::Status::Locked)
        return LockedKeychainError();
    return error;
}

void AddTransaction::removeUnlisted()
{
    QList<QUuid> listed;
    for (const QUuid &id : m_journal.ids()) {
        if (m_list.indexOf(id))
            listed.append(id);
        else if (!m_underWay.contains(id))
            removeItem(id);
    }
    m_journal.strike(listed);
}

// The id is struck once its item is gone.
void AddTransaction::removeItem(const QUuid &id)
{
    if (m_removing.contains(id))
        return;
    m_removing.insert(id);
    m_keychain.remove(id, [this, id](bool removed) {
        m_removing.remove(id);
        if (removed)
            m_journal.strike({id});
    });
}
