#pragma once

#include "engine/Clock.h"
#include "engine/ImportedToken.h"
#include "store/AccountDocument.h"
#include "store/AccountList.h"
#include "store/AddTransaction.h"
#include "store/CodeTable.h"
#include "store/DeletionJournal.h"
#include "store/DetailEditor.h"
#include "store/GroupTable.h"
#include "store/ImportSummary.h"
#include "store/Intake.h"
#include "store/KeychainCalls.h"
#include "store/PanelPreferences.h"
#include "store/SecretCache.h"

#include <QList>
#include <QObject>
#include <QSettings>

#include <chrono>
#include <expected>
#include <functional>
#include <optional>

// The one model object the views read: the ordered accounts, their current codes, the
// panel's preferences and the deletion awaiting undo. It is the only writer of the stored
// account list and the only code that adds accounts' secrets to the keychain; the work is
// done by the pieces it holds. Main thread only.
class TokenStore : public QObject
{
    Q_OBJECT

public:
    TokenStore(KeychainStore &keychain, QSettings &settings, Clock clock, SingleShot singleShot = systemSingleShot,
               QObject *parent = nullptr, IconFolder icons = IconFolder::standard());

    const QList<TokenAccount> &accounts() const { return m_list.accounts(); }
    const QHash<QUuid, QString> &codes() const { return m_codes.codes(); }
    // Every group some account was put in, each name once; an account names its groups by id.
    const QList<AccountGroup> &groups() const { return m_groups.groups(); }
    const std::optional<PendingDeletion> &pendingDeletion() const { return m_deletions.pending(); }
    PanelPreferences &preferences() { return m_preferences; }

    // Recomputes the code of every account whose time step changed or that has none. Secrets
    // still missing are asked of the keychain again when their back-off has passed.
    void refreshCodes(double at);

    // Waits, at most `bound`, for the keychain calls under way, so that quitting does not cut
    // off a deletion or a save.
    void awaitKeychain(std::chrono::milliseconds bound) { m_keychain.await(bound); }
    KeychainStore::Status keychainStatus() const { return m_secrets.status(); }
    // A person asked for the keychain: unlock it, or try an unreachable service again.
    void unlockKeychain() { m_secrets.unlock(); }
    // The accounts whose rows are on screen: their secrets are read before any other.
    void showAccounts(const QList<QUuid> &ids) { m_secrets.show(ids); }

    // Each add stores the secret first and lists the account once the keychain has it; `done`
    // learns the outcome, from the event loop or before the call returns.
    using Added = std::function<void(std::expected<TokenAccount, StoreError>)>;
    void add(const ImportedToken &token, Added done);
    // The account that now holds the secret: a new one, or the one that already had it.
    void quickAdd(const QString &secret, Added done);
    // Adds every token whose secret is valid and not yet listed, in order, then saves the
    // list once. A token the store cannot take is refused with the reason and skipped.
    void addAll(const QList<ImportedToken> &tokens, std::function<void(ImportSummary)> done);
    // A rename that cannot be saved is undone, and says why. A counter-based account's counter is
    // corrected to `counter`, when given.
    std::expected<void, StoreError> update(const TokenAccount &account, const QString &name, const QString &issuer,
                                           std::optional<quint64> counter = std::nullopt);
    // What a person keeps with an account besides its codes. A change that cannot be saved is
    // undone and says why (changeNotSaved); an account no longer listed is left alone.
    std::expected<void, StoreError> setNote(QUuid id, const QString &note) { return m_details.setNote(id, note); }
    std::expected<void, StoreError> setFavourite(QUuid id, bool favourite)
    {
        return m_details.setFavourite(id, favourite);
    }
    std::expected<void, StoreError> toggleFavourite(QUuid id) { return m_details.toggleFavourite(id); }
    // The icon from a picture file (SVG, PNG or JPEG of at most 256 KiB), read and kept off the
    // main thread; `done` learns the outcome, an IconError for a file that cannot be one.
    void setIcon(QUuid id, const QString &filePath, DetailEditor::Done done)
    {
        m_details.setIcon(id, filePath, std::move(done));
    }
    std::expected<void, StoreError> removeIcon(QUuid id) { return m_details.removeIcon(id); }
    // The file of the account's icon, to be read when its row shows; absent without an icon.
    std::optional<QString> iconPath(const TokenAccount &account) const { return m_details.iconPath(account); }
    // The folder of the icon files, for writers on other threads.
    const IconFolder &icons() const { return m_details.icons(); }
    // Gives the pack's icon to every account without one whose issuer it matches.
    void applyIconPack(const IconPack &pack, std::function<void(qsizetype given)> done)
    {
        m_details.applyIconPack(pack, std::move(done));
    }

    // A counter-based account's next code: the stored counter N becomes N + 1 and the list is
    // saved; only then is the code of N given, and shown until hideCounterCodes. Absent when the
    // secret is unknown, or the save failed (changeNotSaved then says so, and N stays).
    // By value: the caller's reference may point into the list the advance replaces.
    std::optional<QString> nextCode(QUuid id);
    // The panel hid: the counter-based codes shown are no longer.
    void hideCounterCodes();
    // Whether the keychain has given the account's secret.
    bool knowsSecret(const QUuid &id) const { return m_secrets.secret(id).has_value(); }
    // The account with its secret, its id, its icon's hash and type (IconFolder::withBytes reads
    // the bytes), its groups by id and name, its note and favourite flag; absent when the secret
    // is unknown.
    std::optional<ImportedToken> exportToken(const TokenAccount &account);
    // Every listed account whose secret is known, secret included, in list order.
    QList<ImportedToken> exportTokens();
    // Moves the account so it ends immediately above `before`.
    void move(QUuid accountID, QUuid before);
    // Moves the account `by` rows (negative is up), clamped to the list.
    void move(const TokenAccount &account, qint64 by);

    // Takes a copy: the caller may pass a reference into the list it shrinks.
    void requestDelete(TokenAccount account);
    void undoDelete();
    void finalizePendingDeletion();

    // An import adds batch after batch: views keep their place until it ends.
    void setImporting(bool importing) { Q_EMIT importingChanged(importing); }

Q_SIGNALS:
    void accountsChanged();
    void codesChanged();
    void pendingDeletionChanged();
    void keychainStatusChanged();
    void groupsChanged();
    // A keychain outcome the person should read, such as a dismissed unlock prompt.
    void keychainMessage(const QString &message);
    // A change of the list could not be saved and was undone: why, and what stayed.
    void changeNotSaved(const QString &message);
    void importingChanged(bool importing);

private:
    void listChanged();
    // True when a code changed.
    bool refreshCodeTable(double at);
    Intake intake() const;
    void addOne(const NewAccount &account, Added done);
    // The tokens' groups as this store's, announcing new ones.
    void takeGroups(QList<ImportedToken> &tokens);
    void removeUnlistedAdds();

    Clock m_clock;
    PanelPreferences m_preferences;

    KeychainCalls m_keychain;
    AccountDocument m_document;
    AccountList m_list;
    GroupTable m_groups;
    DetailEditor m_details;
    SecretCache m_secrets;
    CodeTable m_codes;
    AddTransaction m_adding;
    DeletionJournal m_deletions;
};
