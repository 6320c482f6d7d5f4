#include "store/TokenStore.h"

#include "engine/TOTPGenerator.h"

TokenStore::TokenStore(KeychainStore &keychain, QSettings &settings, Clock clock, SingleShot singleShot,
                       QObject *parent, IconFolder icons)
    : QObject(parent),
      m_clock(std::move(clock)),
      m_preferences(settings),
      m_keychain(keychain),
      m_document(settings, m_clock),
      m_list(m_document),
      m_groups(m_document),
      m_details(m_list, std::move(icons)),
      m_secrets(m_keychain, m_clock, [this] { return m_list.ids(); }),
      m_adding(m_keychain, m_secrets, m_list, settings),
      m_deletions(m_keychain, m_document, std::move(singleShot))
{
    connect(&m_secrets, &SecretCache::secretsRead, this, [this] { refreshCodes(m_clock()); });
    connect(&m_secrets, &SecretCache::statusChanged, this, &TokenStore::keychainStatusChanged);
    connect(&m_secrets, &SecretCache::message, this, &TokenStore::keychainMessage);
    connect(&m_list, &AccountList::changed, this, &TokenStore::listChanged);
    connect(&m_list, &AccountList::notSaved, this, &TokenStore::changeNotSaved);
    connect(&keychain, &KeychainStore::changed, this, &TokenStore::removeUnlistedAdds);
    connect(&m_adding, &AddTransaction::listed, this, [this] { refreshCodes(m_clock()); });
    connect(&m_deletions, &DeletionJournal::undoWindowClosed, this, &TokenStore::finalizePendingDeletion);

    m_groups.reset(m_document.loadGroups());
    if (auto accounts = m_document.load())
        m_list.reset(std::move(*accounts));
    m_deletions.finishRecorded(m_list.accounts());
    removeUnlistedAdds();
    // One keychain search for every secret, sent before the panel is built; the codes come
    // when it answers.
    m_secrets.read();
    refreshCodes(m_clock());
}

// Only against a list that was read: an unreadable one names no account.
void TokenStore::removeUnlistedAdds()
{
    if (m_document.listReadable())
        m_adding.removeUnlisted();
}

// An account just listed comes with its code, so that the panel lays the list out once.
void TokenStore::listChanged()
{
    const bool coded = refreshCodeTable(m_clock());
    Q_EMIT accountsChanged();
    if (coded)
        Q_EMIT codesChanged();
}

bool TokenStore::refreshCodeTable(double at)
{
    return m_codes.refresh(
        m_list.accounts(), [this](const QUuid &id) { return m_secrets.secret(id); }, at);
}

void TokenStore::refreshCodes(double at)
{
    if (refreshCodeTable(at))
        Q_EMIT codesChanged();
    m_secrets.readIfDue(at);
}

// Duplicates are compared in memory: every secret the keychain gave is cached, and an account
// whose secret it did not give counts as one without a secret.
Intake TokenStore::intake() const
{
    QList<NewAccount> held;
    for (const TokenAccount &account : m_list.accounts()) {
        if (const auto secret = m_secrets.secret(account.id))
            held.append({account, *secret});
    }
    const QList<NewAccount> underWay = m_adding.underWay();
    return Intake(m_clock(), held + underWay, m_list.accounts().size() + underWay.size());
}

void TokenStore::takeGroups(QList<ImportedToken> &tokens)
{
    if (m_groups.take(tokens))
        Q_EMIT groupsChanged();
}

void TokenStore::add(const ImportedToken &token, Added done)
{
    QList<ImportedToken> tokens{token};
    tokens.first().icon.reset(); // an add sheet brings no picture
    takeGroups(tokens);
    const auto account = intake().token(tokens.constFirst());
    if (!account)
        return done(std::unexpected(account.error()));
    addOne(*account, std::move(done));
}

void TokenStore::quickAdd(const QString &text, Added done)
{
    const Intake intake = this->intake();
    const auto account = intake.quick(text);
    if (!account)
        return done(std::unexpected(account.error()));
    if (const auto holder = intake.holder(*account))
        return done(*holder);
    addOne(*account, std::move(done));
}

void TokenStore::addOne(const NewAccount &account, Added done)
{
    m_adding.run({account}, [account = account.account, done](const AddOutcomes &outcomes) {
        if (outcomes.constFirst())
            done(std::unexpected(*outcomes.constFirst()));
        else
            done(account);
    });
}

void TokenStore::addAll(const QList<ImportedToken> &tokens, std::function<void(ImportSummary)> done)
{
    m_details.saveIcons(tokens, [this, done](QList<ImportedToken> saved) {
        takeGroups(saved);
        const Intake::Batch batch = intake().batch(saved);
        m_adding.run(batch.accounts,
                     [batch, done](const AddOutcomes &outcomes) { done(Intake::summarize(batch, outcomes)); });
    });
}

std::optional<ImportedToken> TokenStore::exportToken(const TokenAccount &account)
{
    const auto secret = m_secrets.secret(account.id);
    if (!secret)
        return std::nullopt;
    QList<AccountGroup> groups;
    for (const QUuid &id : account.groups) {
        const auto named = std::ranges::find(m_groups.groups(), id, &AccountGroup::id);
        if (named != m_groups.groups().cend())
            groups.append(*named);
    }
    return ImportedToken{account.name, account.issuer, *secret,           account.otp, account.icon,
                         groups,       account.note,   account.favourite, account.id};
}

QList<ImportedToken> TokenStore::exportTokens()
{
    QList<ImportedToken> tokens;
    for (const TokenAccount &account : m_list.accounts()) {
        if (auto token = exportToken(account))
            tokens.append(std::move(*token));
    }
    return tokens;
}

std::expected<void, StoreError> TokenStore::update(const TokenAccount &account, const QString &name,
                                                   const QString &issuer, std::optional<quint64> counter)
{
    return m_list.rename(account.id, name, issuer, counter);
}

std::optional<QString> TokenStore::nextCode(QUuid id)
{
    const auto index = m_list.indexOf(id);
    const auto secret = m_secrets.secret(id);
    if (!index || !secret)
        return std::nullopt;
    const OtpParameters otp = m_list.accounts().at(*index).otp;
    // Computed before the advance, so that a secret giving no code advances nothing.
    if (!otp.isHotp() || !TOTPGenerator::code(*secret, 0, otp))
        return std::nullopt;
    const auto used = m_list.advanceCounter(id);
    if (!used)
        return std::nullopt;
    const auto code = TOTPGenerator::counterCode(*secret, *used, otp.digits, otp.algorithm);
    m_codes.showCounterCode(id, *code);
    Q_EMIT codesChanged();
    return *code;
}

void TokenStore::hideCounterCodes()
{
    if (m_codes.hideCounterCodes())
        Q_EMIT codesChanged();
}

void TokenStore::move(QUuid accountID, QUuid before)
{
    m_list.move(accountID, before);
}

void TokenStore::move(const TokenAccount &account, qint64 by)
{
    m_list.move(account.id, by);
}

void TokenStore::requestDelete(TokenAccount account)
{
    finalizePendingDeletion();
    const QList<TokenAccount> before = m_list.accounts();
    const auto index = m_list.remove(account.id);
    if (!index)
        return;
    // Saved, with the deletion's record, before the secret can go: a list that still named
    // the account would bring it back without its secret.
    m_document.recordDeletion(account.id);
    if (!m_list.saveOrRollBack(before, tr("账户没有删除。"))) {
        m_document.dropDeletion();
        return;
    }
    m_codes.forget(account.id);
    Q_EMIT codesChanged();
    m_deletions.begin({std::move(account), *index});
    Q_EMIT pendingDeletionChanged();
}

// An undo the list cannot save leaves the deletion pending, with a fresh undo window: what is
// stored says the account is gone, and its record still names it.
void TokenStore::undoDelete()
{
    const QList<TokenAccount> before = m_list.accounts();
    const auto deletion = m_deletions.undo();
    if (!deletion)
        return;
    m_list.insert(deletion->originalIndex, deletion->account);
    if (!m_list.saveOrRollBack(before, tr("账户仍是已删除状态，可以再次撤销。"))) {
        m_deletions.begin(*deletion);
        return;
    }
    Q_EMIT pendingDeletionChanged();
    refreshCodes(m_clock());
}

void TokenStore::finalizePendingDeletion()
{
    const auto id = m_deletions.finalize();
    if (!id)
        return;
    m_secrets.remove(*id);
    m_codes.forget(*id);
    Q_EMIT codesChanged();
    Q_EMIT pendingDeletionChanged();
}
