#include "store/AddTransaction.h"

#include "engine/Logging.h"

AddTransaction::AddTransaction(KeychainCalls &keychain, SecretCache &secrets, AccountList &list, QObject *parent)
    : QObject(parent),
      m_keychain(keychain),
      m_secrets(secrets),
      m_list(list)
{}

void AddTransaction::run(const QList<NewAccount> &accounts, std::function<void(AddOutcomes)> done)
{
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
        if (outcomes.at(i))
            continue;
        m_secrets.insert(entry.account.id, entry.secret);
        added.append(entry.account);
    }
    // A refused add is a person's action: the one moment to prompt, or to try an
    // unreachable service again.
    if (added.size() < accounts.size())
        m_secrets.unlock();
    if (added.isEmpty())
        return;
    m_list.append(added);
    if (auto saved = m_list.save(); !saved) {
        qCWarning(lcStore) << saved.error().description();
        // Exactly these accounts go back out, with their secrets.
        for (const TokenAccount &account : added) {
            m_keychain.remove(account.id, [](bool) {});
            m_secrets.remove(account.id);
        }
        m_list.takeBack(added);
        for (std::optional<StoreError> &outcome : outcomes)
            outcome = outcome.value_or(saved.error());
        return;
    }
    Q_EMIT listed();
}
