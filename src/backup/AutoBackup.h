#pragma once

#include "backup/BackupFailure.h"
#include "backup/BackupKeyring.h"
#include "backup/BackupSettings.h"
#include "backup/BackupSetup.h"
#include "backup/FolderWatch.h"
#include "backup/LayerSource.h"

#include <QFutureWatcher>
#include <QObject>
#include <QSettings>
#include <QTimer>

#include <chrono>
#include <expected>
#include <functional>
#include <optional>

class KeychainStore;
class TokenStore;

// Automatic backups: a few seconds after the last change of the accounts, the same encrypted
// vault as an export is written to the chosen folder and verified (BackupWriter, on a worker
// thread), and this computer's older backups are rotated away. Nothing is written when the
// accounts equal those of the newest backup, or while a deletion can still be undone. The
// vault's key lives in the keychain (BackupKeyring); the settings (BackupSettings) hold the
// folder, how many to keep and a keyed digest of the newest backup's accounts. A failure is
// reported until a backup succeeds, and tried again at the next change, when the folder
// changes (FolderWatch) and at start.
class AutoBackup : public QObject
{
    Q_OBJECT

public:
    using Done = std::function<void(std::optional<BackupFailure>)>;

    // `host` names this computer's backups; `delay` is the quiet time after a change. A backup
    // that failed for its folder is tried again every two of those until it passes.
    AutoBackup(TokenStore &store, KeychainStore &keychain, QSettings &settings, LayerSource layer, QString host,
               std::chrono::milliseconds delay = std::chrono::seconds(3), QObject *parent = nullptr);
    ~AutoBackup() override;

    // The binary that answers KeyDeriver::option; Corvane's own unless a test names it.
    void setKeyProgram(const QString &program) { m_setup.setKeyProgram(program); }

    bool isOn() const { return m_settings.isOn(); }
    QString folder() const { return m_settings.folder(); }
    int keep() const { return m_settings.keep(); }
    std::optional<double> lastBackupTime() const { return m_settings.lastBackupTime(); }
    // Why the last attempt failed, until one succeeds.
    const std::optional<BackupFailure> &failure() const { return m_failure; }
    const QString &host() const { return m_host; }
    QString computer() { return m_settings.computer(); }
    // A backup is waiting for the quiet time to pass, or being written.
    bool isBusy() const { return m_writing || m_quiet.isActive(); }
    BackupKeyring &keyring() { return m_keyring; }

    // Makes the key from the password (BackupSetup), then turns backups on in `folder` and
    // writes the first one; `done` tells how that first backup went.
    void setUp(const QString &folder, const QString &password, int keep, BackupSetup::Done done);
    // Writes to another folder from now on, with the same key, and tries a backup there.
    void setFolder(const QString &folder);
    void setKeep(int keep);
    // Forgets the key and the folder; the backups already written stay.
    void turnOff(std::function<void()> done = {});
    // Writes a backup now, even of unchanged accounts; `done` learns the outcome.
    void backUpNow(Done done);

Q_SIGNALS:
    // On, off, a backup written, a failure or its end.
    void stateChanged();
    // The first failure after a success: one notification per streak.
    void failureStreakStarted(const BackupFailure &failure);
    // Backups were set up, or the folder changed on disk: another computer's backup may
    // have arrived.
    void folderContentsChanged();

private:
    void turnedOn(const BackupSetup::Done &done);
    void accountsChanged();
    void attempt(bool force);
    void write(const BackupKey &key, bool force);
    void written(const std::expected<QString, BackupFailure> &result);
    void settle(std::optional<BackupFailure> outcome);
    void folderChanged();

    TokenStore &m_store;
    BackupSettings m_settings;
    LayerSource m_layer;
    QString m_host;
    BackupKeyring m_keyring;
    BackupSetup m_setup;
    FolderWatch m_watch;
    QTimer m_quiet;
    QTimer m_retry;
    std::optional<BackupFailure> m_failure;
    QFutureWatcher<std::expected<QString, BackupFailure>> m_job;
    QByteArray m_digest; // of the accounts being written
    bool m_writing = false;
    bool m_again = false; // a change came while writing
    bool m_awaitingSecrets = false;
    QList<Done> m_waiting; // backUpNow callers
};
