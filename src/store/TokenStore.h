#pragma once

#include "engine/Clock.h"
#include "engine/ImportedToken.h"
#include "store/AddJournal.h"
#include "store/ImportSummary.h"
#include "store/KeychainStore.h"
#include "store/PendingDeletion.h"
#include "store/StoreError.h"
#include "store/TokenAccount.h"

#include <QEventLoop>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QSettings>

#include <array>
#include <chrono>
#include <expected>
#include <functional>
#include <memory>
#include <optional>

// The one model object: the ordered accounts, their current codes, the two settings and
// the deletion awaiting undo. It is the only writer of the stored account list and the
// settings, and the only code that adds secrets to the keychain. Main thread only.
class TokenStore : public QObject
{
    Q_OBJECT

public:
    // The panel opacities one can choose, lightest first; a stored value snaps to the nearest.
    static constexpr std::array<double, 3> panelOpacityLevels{0.6, 0.82, 1.0};
    static constexpr double defaultPanelOpacity = panelOpacityLevels[1];
    // A missing secret is read again after 1 s, then after twice as long each time, up to 60 s.
    static constexpr double firstRetrySeconds = 1;
    static constexpr double lastRetrySeconds = 60;

    TokenStore(KeychainStore &keychain, QSettings &settings, Clock clock, SingleShot singleShot = systemSingleShot,
               QObject *parent = nullptr);

    const QList<TokenAccount> &accounts() const { return m_accounts; }
    const QHash<QUuid, QString> &codes() const { return m_codes; }
    const std::optional<PendingDeletion> &pendingDeletion() const { return m_pendingDeletion; }
    qint64 clipboardClearDelay() const { return m_clipboardClearDelay; }
    double panelOpacity() const { return m_panelOpacity; }

    // Assigning changes the running value only; persistSettings stores both.
    void setClipboardClearDelay(qint64 seconds);
    void setPanelOpacity(double opacity);
    void persistSettings();

    // Recomputes the code of every account whose time step changed or that has none. Secrets
    // still missing are asked of the keychain again when their back-off has passed.
    void refreshCodes(double at);

    // Waits, at most `bound`, for the keychain calls under way, so that quitting does not cut
    // off a deletion or a save.
    void awaitKeychain(std::chrono::milliseconds bound);
    KeychainStore::Status keychainStatus() const { return m_keychain.status(); }
    // A person asked for the keychain: unlock it (or create its default keyring) through the
    // service's own prompt, or try an unreachable service again at once.
    void unlockKeychain();

    // The secret as it is validated, stored and compared; refused when it is longer than
    // any account takes.
    static std::expected<QString, TOTPError> normalize(const QString &secret);
    // Each add stores the secret first and lists the account once the keychain has it; `done`
    // learns the outcome, from the event loop or before the call returns.
    using Added = std::function<void(std::expected<TokenAccount, StoreError>)>;
    void add(const ImportedToken &token, Added done);
    // The account that now holds the secret: a new one, or the one that already had it.
    void quickAdd(const QString &secret, Added done);
    // Adds every token whose secret is valid and not yet listed, in order, then saves the
    // list once. A token the store cannot take is refused with the reason and skipped.
    void addAll(const QList<ImportedToken> &tokens, std::function<void(ImportSummary)> done);
    // A rename that cannot be saved is undone, and says why.
    std::expected<void, StoreError> update(const TokenAccount &account, const QString &name, const QString &issuer);
    // The account with its secret; absent when the secret is unknown.
    std::optional<ImportedToken> exportToken(const TokenAccount &account);
    // Every listed account whose secret is known, secret included, in list order.
    QList<ImportedToken> exportTokens();
    // Moves the account so it ends immediately above `before`.
    void move(const QUuid &accountID, const QUuid &before);
    // Moves the account `by` rows (negative is up), clamped to the list.
    void move(const TokenAccount &account, qint64 by);

    // Takes a copy: the caller may pass a reference into the list it shrinks.
    void requestDelete(TokenAccount account);
    void undoDelete();
    void finalizePendingDeletion();

Q_SIGNALS:
    void accountsChanged();
    void codesChanged();
    void pendingDeletionChanged();
    void clipboardClearDelayChanged();
    void panelOpacityChanged();
    void keychainStatusChanged();
    // A keychain outcome the person should read, such as a dismissed unlock prompt.
    void keychainMessage(const QString &message);
    // A change of the list could not be saved and was undone: why, and what stayed.
    void changeNotSaved(const QString &message);

private:
    void load();
    std::expected<void, StoreError> save();
    std::expected<void, StoreError> settingsWritten() const;
    std::expected<void, StoreError> saveOrRollBack(QList<TokenAccount> before, const QString &undone);
    void removeUnlistedAdds();
    StoreError refusedAdd(const StoreError &error) const;
    void saveOrWarn();
    void readSecrets();
    void secretsRead(KeychainStore::ReadResult result);
    bool needsSecrets() const;
    void keychainChanged();
    void unlockFinished(bool unlocked);
    void keychainRefused();
    void removeRecordedDeletion();
    void forgetDeletion(const QUuid &id);
    void removeItem(const QUuid &id);
    bool keychainBusy() const;
    void settleKeychain();
    bool backUpUnreadableDocument();
    std::optional<qsizetype> indexOf(const QUuid &id) const;
    std::optional<QString> secretFor(const TokenAccount &account) const;
    std::expected<QString, StoreError> validated(const QString &text, const TokenAccount &account) const;
    TokenAccount accountFor(const ImportedToken &token) const;
    struct Entry
    {
        TokenAccount account;
        QString secret;
    };
    using Outcomes = QList<std::optional<StoreError>>; // per entry: why it was not added
    void keepOne(const Entry &entry, Added done);
    // The secrets of one add being stored, and the keychain's answers so far.
    struct Saving
    {
        QList<Entry> entries;
        Outcomes outcomes;
        std::function<void(Outcomes)> done;
        bool looping = false;
    };
    void keepAll(const QList<Entry> &entries, std::function<void(Outcomes)> done);
    void keepNext(const std::shared_ptr<Saving> &saving);
    void listKept(const QList<Entry> &entries, Outcomes &outcomes);
    std::expected<void, StoreError> announceAdded(const QList<TokenAccount> &added);
    void setCodes(QHash<QUuid, QString> codes);

    KeychainStore &m_keychain;
    QSettings &m_settings;
    Clock m_clock;
    SingleShot m_singleShot;
    AddJournal m_addJournal;

    QList<TokenAccount> m_accounts;
    QHash<QUuid, QString> m_codes;
    std::optional<PendingDeletion> m_pendingDeletion;
    qint64 m_clipboardClearDelay = 60;
    double m_panelOpacity = defaultPanelOpacity;
    QHash<QUuid, QString> m_secretCache;
    QHash<QUuid, Entry> m_saving; // accounts whose secret the keychain is storing
    QHash<QUuid, qint64> m_generatedCounters;
    // Counts deletions, so the undo window of one that was undone or finalised closes nothing.
    quint64 m_deletionSerial = 0;
    // The stored list as found at start when it could not be read; kept aside before the
    // first save replaces it.
    std::optional<QByteArray> m_unreadableDocument;
    bool m_reading = false;
    bool m_readAgain = false;
    bool m_startupRead = true;
    double m_nextRead = 0; // clock time of the next read of missing secrets
    double m_retryDelay = firstRetrySeconds;
    QSet<QUuid> m_removing; // keychain deletions under way
    QEventLoop *m_waitingForKeychain = nullptr;
};
