#include "store/TokenStore.h"

#include "engine/LabelText.h"
#include "engine/Logging.h"
#include "engine/TOTPGenerator.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSet>
#include <QTimer>

#include <cmath>
#include <limits>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString accountsKey = u"totp.accounts"_s;
const QString clearDelayKey = u"totp.clipboardClearDelay"_s;
const QString panelOpacityKey = u"totp.panelOpacity"_s;
// The id of the deletion awaiting undo, so that a start after a crash removes its secret.
const QString pendingDeletionKey = u"totp.pendingDeletion"_s;
const QString defaultName = u"验证码"_s;
const QString orderKept = u"顺序没有改变。"_s;
constexpr qsizetype quickAddMinimumLength = 16; // 16 Base32 characters carry 80 bits
constexpr qint64 quickAddPeriod = 30;
constexpr qint64 quickAddDigits = 6;
constexpr std::chrono::milliseconds undoWindow = std::chrono::seconds(5);

// The account's time step at `date`; absent when the period or the date give no
// representable step, and then the account simply has no code.
std::optional<qint64> timeStep(double date, qint64 period)
{
    if (period < 1)
        return std::nullopt;
    const double step = std::floor(date / static_cast<double>(period));
    if (!std::isfinite(step) || step < -0x1p63 || step >= 0x1p63)
        return std::nullopt;
    return static_cast<qint64>(step);
}

double nearestOpacityLevel(double stored)
{
    double best = TokenStore::panelOpacityLevels.front();
    for (const double level : TokenStore::panelOpacityLevels) {
        if (std::abs(level - stored) < std::abs(best - stored))
            best = level;
    }
    return best;
}

} // namespace

TokenStore::TokenStore(KeychainStore &keychain, QSettings &settings, Clock clock, SingleShot singleShot,
                       QObject *parent)
    : QObject(parent),
      m_keychain(keychain),
      m_settings(settings),
      m_clock(std::move(clock)),
      m_singleShot(std::move(singleShot)),
      m_addJournal(settings)
{
    connect(&m_keychain, &KeychainStore::statusChanged, this, [this] {
        m_nextRead = 0; // a save may find the keychain unusable: the next tick reads again
        Q_EMIT keychainStatusChanged();
    });
    connect(&m_keychain, &KeychainStore::changed, this, &TokenStore::keychainChanged);
    connect(&m_keychain, &KeychainStore::unlockFinished, this, &TokenStore::unlockFinished);

    load();
    removeRecordedDeletion();
    removeUnlistedAdds();
    // One keychain search for every secret, sent before the panel is built; the codes come
    // when it answers.
    readSecrets();
    refreshCodes(m_clock());
}

void TokenStore::readSecrets()
{
    if (m_reading) {
        m_readAgain = true;
        return;
    }
    m_reading = true;
    m_readAgain = false;
    m_keychain.readAll([self = QPointer(this)](KeychainStore::ReadResult result) {
        if (self)
            self->secretsRead(std::move(result));
    });
}

void TokenStore::secretsRead(KeychainStore::ReadResult result)
{
    m_reading = false;
    if (result) {
        for (const TokenAccount &account : std::as_const(m_accounts)) {
            if (const auto it = result->constFind(account.id); it != result->constEnd())
                m_secretCache.insert(account.id, *it);
        }
    } else {
        qCWarning(lcStore) << "cannot read the secrets:" << result.error().description();
    }
    // At most one unlock prompt at start-up; after that only a person's action asks.
    if (std::exchange(m_startupRead, false) && m_keychain.status() == KeychainStore::Status::Locked)
        m_keychain.unlock();
    if (needsSecrets()) {
        m_nextRead = m_clock() + m_retryDelay;
        m_retryDelay = std::min(m_retryDelay * 2, lastRetrySeconds);
    } else {
        // Nothing to read until the keychain's state changes.
        m_nextRead = std::numeric_limits<double>::infinity();
        m_retryDelay = firstRetrySeconds;
    }
    refreshCodes(m_clock());
    settleKeychain();
    if (m_readAgain)
        readSecrets();
}

// A secret is missing, or the keychain could not be read at all.
bool TokenStore::needsSecrets() const
{
    if (m_keychain.status() != KeychainStore::Status::Available)
        return true;
    return std::ranges::any_of(m_accounts,
                               [this](const TokenAccount &account) { return !m_secretCache.contains(account.id); });
}

// The service announced a change: read again at once, and start the back-off afresh.
void TokenStore::keychainChanged()
{
    removeUnlistedAdds();
    if (!needsSecrets())
        return;
    m_retryDelay = firstRetrySeconds;
    readSecrets();
}

bool TokenStore::keychainBusy() const
{
    return m_reading || !m_removing.isEmpty() || !m_saving.isEmpty();
}

void TokenStore::awaitKeychain(std::chrono::milliseconds bound)
{
    if (!keychainBusy())
        return;
    QEventLoop loop;
    m_waitingForKeychain = &loop;
    QTimer::singleShot(bound, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    m_waitingForKeychain = nullptr;
}

void TokenStore::settleKeychain()
{
    if (m_waitingForKeychain && !keychainBusy())
        m_waitingForKeychain->quit();
}

// Deletes the item; the records of the id go once it is gone.
void TokenStore::removeItem(const QUuid &id)
{
    if (m_removing.contains(id))
        return;
    m_removing.insert(id);
    m_keychain.remove(id, [self = QPointer(this), id](bool removed) {
        if (!self)
            return;
        self->m_removing.remove(id);
        if (removed) {
            self->forgetDeletion(id);
            self->m_addJournal.strike({id});
        }
        self->settleKeychain();
    });
}

// Items of adds that never listed their account: left by a crash between storing the secret
// and saving the list, or stored by the keychain after the add had given up waiting (its
// late answer is the change this is called on). Only once the list was read.
void TokenStore::removeUnlistedAdds()
{
    if (m_unreadableDocument || m_settings.status() != QSettings::NoError)
        return;
    QList<QUuid> listed;
    for (const QUuid &id : m_addJournal.ids()) {
        if (indexOf(id))
            listed.append(id);
        else if (!m_saving.contains(id))
            removeItem(id);
    }
    m_addJournal.strike(listed);
}

void TokenStore::unlockKeychain()
{
    if (m_keychain.status() == KeychainStore::Status::Unreachable)
        readSecrets();
    else
        m_keychain.unlock();
}

void TokenStore::unlockFinished(bool unlocked)
{
    if (unlocked) {
        m_retryDelay = firstRetrySeconds;
        readSecrets();
        return;
    }
    Q_EMIT keychainMessage(m_keychain.status() == KeychainStore::Status::NoDefaultKeyring
                               ? u"没有创建默认钥匙串。"_s
                               : u"钥匙串仍处于锁定状态。"_s);
}

// An add the keychain refused: an unreachable service is tried again at once. A locked one
// waits for the person, whom the add's refusal offers to unlock it.
void TokenStore::keychainRefused()
{
    if (m_keychain.status() == KeychainStore::Status::Unreachable)
        readSecrets();
}

// A deletion recorded but never made final (the process ended inside the undo window)
// leaves its secret behind. Once the list was read, the item of a recorded id that the list
// does not name is removed; the record goes when that worked.
void TokenStore::removeRecordedDeletion()
{
    const QUuid id = QUuid::fromString(m_settings.value(pendingDeletionKey).toString());
    if (!m_settings.contains(pendingDeletionKey) || m_unreadableDocument || m_settings.status() != QSettings::NoError)
        return;
    if (id.isNull() || indexOf(id)) {
        forgetDeletion(id);
        return;
    }
    removeItem(id);
}

void TokenStore::forgetDeletion(const QUuid &id)
{
    if (QUuid::fromString(m_settings.value(pendingDeletionKey).toString()) != id)
        return; // a later deletion is recorded now
    m_settings.remove(pendingDeletionKey);
    m_settings.sync();
}

void TokenStore::load()
{
    if (m_settings.contains(accountsKey)) {
        const QByteArray document = m_settings.value(accountsKey).toByteArray();
        if (auto accounts = TokenAccount::decodeList(document)) {
            m_accounts = std::move(*accounts);
            Q_EMIT accountsChanged();
        } else {
            qCWarning(lcStore) << "the stored account list is unreadable; it is kept aside before the next save";
            m_unreadableDocument = document;
        }
    }
    if (m_settings.contains(clearDelayKey)) {
        m_clipboardClearDelay = m_settings.value(clearDelayKey).toLongLong();
        Q_EMIT clipboardClearDelayChanged();
    }
    if (m_settings.contains(panelOpacityKey)) {
        m_panelOpacity = nearestOpacityLevel(m_settings.value(panelOpacityKey).toDouble());
        Q_EMIT panelOpacityChanged();
    }
}

std::expected<void, StoreError> TokenStore::save()
{
    // Never replace a list we could not read without a copy of it.
    if (m_unreadableDocument && !backUpUnreadableDocument())
        return std::unexpected(ListSaveError{u"无法备份无法读取的旧列表"_s});
    m_unreadableDocument.reset();
    m_settings.setValue(accountsKey, TokenAccount::encodeList(m_accounts));
    m_settings.sync();
    return settingsWritten();
}

std::expected<void, StoreError> TokenStore::settingsWritten() const
{
    switch (m_settings.status()) {
    case QSettings::NoError:
        return {};
    case QSettings::AccessError:
        return std::unexpected(ListSaveError{u"无法写入 %1"_s.arg(m_settings.fileName())});
    case QSettings::FormatError:
        return std::unexpected(ListSaveError{u"%1 格式有误"_s.arg(m_settings.fileName())});
    }
    Q_UNREACHABLE();
}

// Saves a change of the list. When that fails the list is what it was before, in memory and in
// the settings' cache, and the person reads why and `undone`.
std::expected<void, StoreError> TokenStore::saveOrRollBack(QList<TokenAccount> before, const QString &undone)
{
    auto saved = save();
    if (saved)
        return saved;
    qCWarning(lcStore) << saved.error().description();
    m_accounts = std::move(before);
    if (!m_unreadableDocument)
        m_settings.setValue(accountsKey, TokenAccount::encodeList(m_accounts));
    Q_EMIT accountsChanged();
    Q_EMIT changeNotSaved(saved.error().description() + u"。"_s + undone);
    return saved;
}

// For changes that cannot be taken back: the list in memory stays, and the next save retries.
void TokenStore::saveOrWarn()
{
    if (auto saved = save(); !saved)
        qCWarning(lcStore) << saved.error().description();
}

// Copies the unreadable stored list beside the settings file, under a name of its own.
bool TokenStore::backUpUnreadableDocument()
{
    const QDir dir = QFileInfo(m_settings.fileName()).absoluteDir();
    if (!dir.mkpath(u"."_s))
        return false;
    const QString stamp = QDateTime::fromMSecsSinceEpoch(qint64(m_clock() * 1000)).toString(u"yyyyMMdd-HHmmss"_s);
    for (int attempt = 1; attempt < 1000; ++attempt) {
        const QString suffix = attempt == 1 ? QString() : u"-%1"_s.arg(attempt);
        QFile file(dir.filePath(u"accounts-unreadable-%1%2.json"_s.arg(stamp, suffix)));
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (file.exists())
                continue;
            return false;
        }
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        return file.write(*m_unreadableDocument) == m_unreadableDocument->size() && file.flush();
    }
    return false;
}

void TokenStore::setClipboardClearDelay(qint64 seconds)
{
    m_clipboardClearDelay = seconds;
    Q_EMIT clipboardClearDelayChanged();
}

void TokenStore::setPanelOpacity(double opacity)
{
    m_panelOpacity = opacity;
    Q_EMIT panelOpacityChanged();
}

void TokenStore::persistSettings()
{
    m_settings.setValue(clearDelayKey, m_clipboardClearDelay);
    m_settings.setValue(panelOpacityKey, m_panelOpacity);
    m_settings.sync();
}

void TokenStore::refreshCodes(double at)
{
    QHash<QUuid, QString> working = m_codes; // shared until the first real change
    bool changed = false;
    qsizetype kept = 0;
    for (const TokenAccount &account : std::as_const(m_accounts)) {
        const std::optional<qint64> step = timeStep(at, account.period);
        const auto current = working.constFind(account.id);
        const bool hasCode = current != working.constEnd();
        if (step && hasCode && m_generatedCounters.value(account.id, ~*step) == *step) {
            ++kept;
            continue;
        }
        std::optional<QString> code;
        if (step) {
            m_generatedCounters.insert(account.id, *step);
            if (const auto secret = secretFor(account)) {
                if (auto generated = TOTPGenerator::code(*secret, at, account.period, account.digits, account.algorithm,
                                                         account.steam))
                    code = std::move(*generated);
            }
        } else {
            m_generatedCounters.remove(account.id);
        }
        if (code) {
            ++kept;
            if (!hasCode || *current != *code) {
                working.insert(account.id, *code);
                changed = true;
            }
        } else if (hasCode) {
            working.remove(account.id);
            changed = true;
        }
    }
    // Entries of accounts no longer listed are dropped.
    if (working.size() > kept) {
        QSet<QUuid> listed;
        for (const TokenAccount &account : std::as_const(m_accounts))
            listed.insert(account.id);
        working.removeIf([&](const auto &entry) { return !listed.contains(entry.key()); });
        changed = true;
    }
    if (changed)
        setCodes(std::move(working));
    // Never a read on every tick: missing secrets wait for their back-off or a change signal.
    if (!m_reading && at >= m_nextRead && needsSecrets())
        readSecrets();
}

std::optional<QString> TokenStore::secretFor(const TokenAccount &account) const
{
    if (const auto it = m_secretCache.constFind(account.id); it != m_secretCache.constEnd())
        return *it;
    return std::nullopt;
}

void TokenStore::setCodes(QHash<QUuid, QString> codes)
{
    m_codes = std::move(codes);
    Q_EMIT codesChanged();
}

std::expected<QString, TOTPError> TokenStore::normalize(const QString &secret)
{
    return TOTPGenerator::normalizeBounded(secret);
}

// The normalised secret, once the generator has computed the account's code from it.
std::expected<QString, StoreError> TokenStore::validated(const QString &text, const TokenAccount &account) const
{
    auto secret = normalize(text);
    if (!secret)
        return std::unexpected(secret.error());
    const auto code =
        TOTPGenerator::code(*secret, m_clock(), account.period, account.digits, account.algorithm, account.steam);
    if (!code)
        return std::unexpected(code.error());
    return *secret;
}

void TokenStore::add(const ImportedToken &token, Added done)
{
    const TokenAccount account = accountFor(token);
    const auto secret = validated(token.secret, account);
    if (!secret)
        return done(std::unexpected(secret.error()));
    keepOne({account, *secret}, std::move(done));
}

// Names and issuers lose control and bidi formatting characters whichever way they come.
TokenAccount TokenStore::accountFor(const ImportedToken &token) const
{
    const QString name = LabelText::cleaned(token.name);
    return {QUuid::createUuid(),
            name.isEmpty() ? defaultName : name,
            LabelText::cleaned(token.issuer),
            token.period,
            token.digits,
            token.algorithm,
            token.steam};
}

void TokenStore::quickAdd(const QString &text, Added done)
{
    const auto validSecret = validated(text, {QUuid(), QString(), QString(), quickAddPeriod, quickAddDigits});
    if (!validSecret)
        return done(std::unexpected(validSecret.error()));
    const QString &secret = *validSecret;
    if (secret.size() < quickAddMinimumLength)
        return done(std::unexpected(TOTPError::invalidSecret));

    // Compared in memory: every secret the keychain gave is cached, and an account whose
    // secret it did not give counts as one without a secret.
    for (const TokenAccount &account : std::as_const(m_accounts)) {
        if (secretFor(account) == secret)
            return done(account);
    }
    for (const Entry &entry : std::as_const(m_saving)) {
        if (entry.secret == secret)
            return done(entry.account);
    }

    const qsizetype count = m_accounts.size() + m_saving.size();
    const QString name = count == 0 ? defaultName : u"%1 %2"_s.arg(defaultName).arg(count + 1);
    keepOne({{QUuid::createUuid(), name, QString(), quickAddPeriod, quickAddDigits}, secret}, std::move(done));
}

void TokenStore::addAll(const QList<ImportedToken> &tokens, std::function<void(ImportSummary)> done)
{
    // Compared in memory, like the quick entry's duplicate check.
    QSet<QString> present;
    for (const TokenAccount &account : std::as_const(m_accounts)) {
        if (const auto secret = secretFor(account))
            present.insert(*secret);
    }
    for (const Entry &entry : std::as_const(m_saving))
        present.insert(entry.secret);
    ImportSummary summary;
    QList<Entry> entries;
    for (const ImportedToken &token : tokens) {
        const TokenAccount account = accountFor(token);
        const auto secret = validated(token.secret, account);
        if (!secret) {
            summary.refused.append({token.name, token.issuer, secret.error().description()});
        } else if (present.contains(*secret)) {
            ++summary.alreadyPresent;
        } else {
            present.insert(*secret);
            entries.append({account, *secret});
        }
    }
    keepAll(entries, [summary, entries, done](const Outcomes &outcomes) mutable {
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const TokenAccount &account = entries.at(i).account;
            if (outcomes.at(i))
                summary.refused.append({account.name, account.issuer, outcomes.at(i)->description()});
            else
                summary.added.append(account);
        }
        done(std::move(summary));
    });
}

void TokenStore::keepOne(const Entry &entry, Added done)
{
    keepAll({entry}, [account = entry.account, done](const Outcomes &outcomes) {
        if (outcomes.constFirst())
            done(std::unexpected(*outcomes.constFirst()));
        else
            done(account);
    });
}

// Stores the secrets one after the other, each within the keychain's own bound; once the
// keychain has answered them all, lists in order the accounts whose secret it took and saves
// the list once. `done` gets, per entry, why it was not added, if it was not.
void TokenStore::keepAll(const QList<Entry> &entries, std::function<void(Outcomes)> done)
{
    QList<QUuid> ids;
    for (const Entry &entry : entries)
        ids.append(entry.account.id);
    if (!m_addJournal.record(ids))
        return done(Outcomes(entries.size(), settingsWritten().error()));
    for (const Entry &entry : entries)
        m_saving.insert(entry.account.id, entry);
    keepNext(std::make_shared<Saving>(entries, Outcomes(), std::move(done)));
}

// Answers that come before `save` returns continue the loop here rather than nesting a call.
void TokenStore::keepNext(const std::shared_ptr<Saving> &saving)
{
    saving->looping = true;
    while (saving->outcomes.size() < saving->entries.size()) {
        const qsizetype asked = saving->outcomes.size();
        const Entry &entry = saving->entries.at(asked);
        m_keychain.save(entry.secret, entry.account.id,
                        [self = QPointer(this), saving](KeychainStore::SaveResult saved) {
                            saving->outcomes.append(saved ? std::nullopt : std::optional<StoreError>(saved.error()));
                            if (self && !saving->looping)
                                self->keepNext(saving);
                        });
        if (saving->outcomes.size() == asked) {
            saving->looping = false; // the answer comes from the event loop
            return;
        }
    }
    saving->looping = false;
    listKept(saving->entries, saving->outcomes);
    saving->done(std::move(saving->outcomes));
}

// Lists the entries the keychain took, then saves and shows them; a list that cannot be
// saved takes them back out.
void TokenStore::listKept(const QList<Entry> &entries, Outcomes &outcomes)
{
    QList<TokenAccount> added;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const Entry &entry = entries.at(i);
        m_saving.remove(entry.account.id);
        if (outcomes.at(i)) {
            outcomes[i] = refusedAdd(*outcomes.at(i));
            removeItem(entry.account.id); // a save given up on may still land
            continue;
        }
        m_secretCache.insert(entry.account.id, entry.secret);
        m_accounts.append(entry.account);
        added.append(entry.account);
    }
    if (added.size() < entries.size())
        keychainRefused();
    if (!added.isEmpty()) {
        if (auto listed = announceAdded(added); !listed) {
            for (std::optional<StoreError> &outcome : outcomes)
                outcome = outcome.value_or(listed.error());
        } else {
            QList<QUuid> ids;
            for (const TokenAccount &account : std::as_const(added))
                ids.append(account.id);
            m_addJournal.strike(ids);
        }
    }
    settleKeychain();
}

// Shows and saves the accounts just kept. A list that cannot be saved takes them and their
// secrets back out.
std::expected<void, StoreError> TokenStore::announceAdded(const QList<TokenAccount> &added)
{
    Q_EMIT accountsChanged();
    if (auto listed = save(); !listed) {
        qCWarning(lcStore) << listed.error().description();
        for (const TokenAccount &account : added) {
            removeItem(account.id);
            m_secretCache.remove(account.id);
        }
        m_accounts.remove(m_accounts.size() - added.size(), added.size());
        Q_EMIT accountsChanged();
        m_settings.setValue(accountsKey, TokenAccount::encodeList(m_accounts));
        return listed;
    }
    refreshCodes(m_clock());
    return {};
}

// A locked keyring says so in the words of the add it refused.
StoreError TokenStore::refusedAdd(const StoreError &error) const
{
    if (error.isKeychainError() && m_keychain.status() == KeychainStore::Status::Locked)
        return LockedKeychainError();
    return error;
}

std::optional<ImportedToken> TokenStore::exportToken(const TokenAccount &account)
{
    const auto secret = secretFor(account);
    if (!secret)
        return std::nullopt;
    return ImportedToken{account.name,   account.issuer,    *secret,      account.period,
                         account.digits, account.algorithm, account.steam};
}

QList<ImportedToken> TokenStore::exportTokens()
{
    QList<ImportedToken> tokens;
    for (const TokenAccount &account : std::as_const(m_accounts)) {
        if (auto token = exportToken(account))
            tokens.append(std::move(*token));
    }
    return tokens;
}

std::optional<qsizetype> TokenStore::indexOf(const QUuid &id) const
{
    for (qsizetype i = 0; i < m_accounts.size(); ++i) {
        if (m_accounts[i].id == id)
            return i;
    }
    return std::nullopt;
}

std::expected<void, StoreError> TokenStore::update(const TokenAccount &account, const QString &name,
                                                   const QString &issuer)
{
    const auto index = indexOf(account.id);
    if (!index)
        return {};
    const QList<TokenAccount> before = m_accounts;
    const QString trimmedName = LabelText::cleaned(name).trimmed();
    m_accounts[*index].name = trimmedName.isEmpty() ? defaultName : trimmedName;
    Q_EMIT accountsChanged();
    m_accounts[*index].issuer = LabelText::cleaned(issuer).trimmed();
    Q_EMIT accountsChanged();
    return saveOrRollBack(before, u"名称没有修改。"_s);
}

void TokenStore::move(const QUuid &accountID, const QUuid &before)
{
    if (accountID == before)
        return;
    const auto from = indexOf(accountID);
    if (!from || !indexOf(before))
        return;
    const QList<TokenAccount> previous = m_accounts;
    const TokenAccount moved = m_accounts.takeAt(*from);
    Q_EMIT accountsChanged();
    m_accounts.insert(*indexOf(before), moved);
    Q_EMIT accountsChanged();
    saveOrRollBack(previous, orderKept);
}

void TokenStore::move(const TokenAccount &account, qint64 by)
{
    const auto from = indexOf(account.id);
    if (!from)
        return;
    const qint64 last = m_accounts.size() - 1;
    // Compared before adding, so a huge `by` cannot overflow.
    const qint64 target = by > last - *from ? last : std::max<qint64>(*from + by, 0);
    if (target == *from)
        return;
    const QList<TokenAccount> previous = m_accounts;
    m_accounts.move(*from, target);
    Q_EMIT accountsChanged();
    saveOrRollBack(previous, orderKept);
}

void TokenStore::requestDelete(TokenAccount account)
{
    finalizePendingDeletion();
    const auto index = indexOf(account.id);
    if (!index)
        return;
    const QList<TokenAccount> before = m_accounts;
    m_accounts.removeAt(*index);
    Q_EMIT accountsChanged();
    // Saved, with the record, before the secret can go: a list still naming the account would
    // bring it back without a secret.
    m_settings.setValue(pendingDeletionKey, account.id.toString(QUuid::WithoutBraces));
    if (!saveOrRollBack(before, u"账户没有删除。"_s)) {
        m_settings.remove(pendingDeletionKey);
        return;
    }
    m_codes.remove(account.id);
    Q_EMIT codesChanged();
    m_generatedCounters.remove(account.id);
    m_pendingDeletion = PendingDeletion{std::move(account), *index};
    Q_EMIT pendingDeletionChanged();
    m_singleShot(undoWindow, this, [this, serial = ++m_deletionSerial] {
        if (serial == m_deletionSerial)
            finalizePendingDeletion();
    });
}

void TokenStore::undoDelete()
{
    if (!m_pendingDeletion)
        return;
    ++m_deletionSerial;
    const qsizetype position = std::min<qint64>(m_pendingDeletion->originalIndex, m_accounts.size());
    m_accounts.insert(position, m_pendingDeletion->account);
    Q_EMIT accountsChanged();
    m_pendingDeletion.reset();
    Q_EMIT pendingDeletionChanged();
    m_settings.remove(pendingDeletionKey);
    saveOrWarn();
    refreshCodes(m_clock());
}

void TokenStore::finalizePendingDeletion()
{
    if (!m_pendingDeletion)
        return;
    ++m_deletionSerial;
    const QUuid id = m_pendingDeletion->account.id;
    // The record stays until the item is gone: if the process ends first, the next start removes it.
    removeItem(id);
    m_secretCache.remove(id);
    m_generatedCounters.remove(id);
    m_codes.remove(id);
    Q_EMIT codesChanged();
    m_pendingDeletion.reset();
    Q_EMIT pendingDeletionChanged();
}
