#pragma once

#include "backup/BackupFailure.h"
#include "backup/BackupKey.h"
#include "backup/BackupRequest.h"
#include "transfer/KeyDeriver.h"
#include "transfer/TransferError.h"
#include "transfer/TransferLayer.h"

#include <QCoreApplication>
#include <QFileSystemWatcher>
#include <QFutureWatcher>
#include <QObject>
#include <QSettings>
#include <QTimer>

#include <chrono>
#include <expected>
#include <functional>
#include <memory>
#include <optional>

class KeychainStore;
class TokenStore;

// Automatic backups: a few seconds after the last change of the accounts, the same encrypted
// vault as an export is written to the chosen folder and verified (BackupWriter, on a worker
// thread), and this computer's older backups are rotated away. Nothing is written when the
// accounts equal those of the newest backup, or while a deletion can still be undone. The
// vault's key lives in the keychain (BackupKey); the settings hold the folder, how many to
// keep and a keyed digest of the newest backup's accounts. A failure is reported until a
// backup succeeds, and tried again at the next change, when the folder changes and at start.
class AutoBackup : public QObject
{
    Q_OBJECT

public:
    using LayerSource = std::function<std::expected<const TransferLayer *, TransferError>()>;
    using Done = std::function<void(std::optional<BackupFailure>)>;
    using SetUpDone = std::function<void(std::expected<void, QString>)>;

    static constexpr int defaultKeep = 10;
    static constexpr int minimumKeep = 3;
    static constexpr int minimumPasswordLength = 8;

    // `host` names this computer's backups; `delay` is the quiet time after a change. A backup
    // that failed for its folder is tried again every two of those until it passes.
    AutoBackup(TokenStore &store, KeychainStore &keychain, QSettings &settings, LayerSource layer, QString host,
               std::chrono::milliseconds delay = std::chrono::seconds(3), QObject *parent = nullptr);
    ~AutoBackup() override;

    // The binary that answers KeyDeriver::option; Corvane's own unless a test names it.
    void setKeyProgram(const QString &program) { m_keyProgram = program; }

    bool isOn() const { return !folder().isEmpty(); }
    QString folder() const;
    int keep() const;
    // When the newest verified backup was written, seconds since the epoch.
    std::optional<double> lastBackupTime() const;
    // Why the last attempt failed, until one succeeds.
    const std::optional<BackupFailure> &failure() const { return m_failure; }
    const QString &host() const { return m_host; }
    // This installation's id, made on first use: tells its backups from those of another
    // home on the same machine.
    QString computer();
    // A backup is waiting for the quiet time to pass, or being written.
    bool isBusy() const { return m_writing || m_quiet.isActive(); }

    // Derives the password's key off the main thread, keeps the vault's key in the keychain,
    // then turns backups on in `folder` and writes the first one; `done` tells how that first
    // backup went. The password is not kept.
    // Where another computer backs up to the folder already, its key is taken over (the same
    // password must open it), so that each computer opens the other's backups.
    void setUp(const QString &folder, const QString &password, int keep, SetUpDone done);
    // Writes to another folder from now on, with the same key, and tries a backup there.
    void setFolder(const QString &folder);
    void setKeep(int keep);
    // Forgets the key and the folder; the backups already written stay.
    void turnOff(std::function<void()> done = {});
    // Writes a backup now, even of unchanged accounts; `done` learns the outcome.
    void backUpNow(Done done);
    // The vault's master key, from the keychain item; empty when it cannot be read.
    void readMasterKey(std::function<void(const QByteArray &)> done);

Q_SIGNALS:
    // On, off, a backup written, a failure or its end.
    void stateChanged();
    // The first failure after a success: one notification per streak.
    void failureStreakStarted(const BackupFailure &failure);
    // Backups were set up, or the folder changed on disk: another computer's backup may
    // have arrived.
    void folderContentsChanged();

private:
    void accountsChanged();
    void attempt(bool force);
    void withKey(std::function<void()> next);
    void write(bool force);
    void written(const std::expected<QString, BackupFailure> &result);
    void settle(std::optional<BackupFailure> outcome);
    void watchFolder();
    void folderChanged();
    // The newest backup of another computer in `folder`; empty when there is none.
    // Another computer's newest backup, and its password slot when it has one.
    struct OtherBackup
    {
        QByteArray vault;
        std::optional<KeyDerivation> slot;
    };
    void deriveKey(const QString &folder, const QString &password, int keep, const TransferLayer *layer,
                   const OtherBackup &other, const SetUpDone &done);
    void keySaved(const QString &folder, int keep, const BackupKey &key, const SetUpDone &done);

    TokenStore &m_store;
    KeychainStore &m_keychain;
    QSettings &m_settings;
    LayerSource m_layer;
    QString m_host;
    QTimer m_quiet;
    QTimer m_retry;
    QFileSystemWatcher m_watcher;
    std::optional<BackupKey> m_key;
    std::optional<BackupFailure> m_failure;
    QString m_keyProgram = QCoreApplication::applicationFilePath();
    std::unique_ptr<KeyDeriver> m_deriver;
    QFutureWatcher<std::expected<QString, BackupFailure>> m_job;
    QByteArray m_digest; // of the accounts being written
    bool m_writing = false;
    bool m_again = false; // a change came while writing
    bool m_awaitingSecrets = false;
    QList<Done> m_waiting; // backUpNow callers
};
