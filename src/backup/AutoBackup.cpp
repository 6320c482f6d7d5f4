#include "backup/AutoBackup.h"

#include "backup/BackupFolder.h"
#include "backup/BackupName.h"
#include "backup/BackupWriter.h"
#include "store/KeychainStore.h"
#include "store/TokenStore.h"

#include <QDateTime>
#include <QtConcurrentRun>

namespace {

// Older than any write of ours takes: the temporary file of a write that was cut off.
constexpr std::chrono::minutes leftoverAge(10);

std::expected<QString, BackupFailure> writeAndRotate(const BackupRequest &request)
{
    auto written = BackupWriter::write(request);
    if (written && !written->isEmpty()) {
        BackupFolder::rotate(request.folder, request.host, request.computer, request.keep, *written);
        BackupFolder::removeLeftovers(request.folder, request.host, leftoverAge);
    }
    return written;
}

} // namespace

AutoBackup::AutoBackup(TokenStore &store, KeychainStore &keychain, QSettings &settings, LayerSource layer, QString host,
                       std::chrono::milliseconds delay, QObject *parent)
    : QObject(parent),
      m_store(store),
      m_settings(settings),
      m_layer(layer),
      m_host(BackupName::safeHost(host)),
      m_keyring(keychain),
      m_setup(m_keyring, std::move(layer))
{
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(delay);
    connect(&m_quiet, &QTimer::timeout, this, [this] { attempt(false); });
    m_retry.setSingleShot(true);
    m_retry.setInterval(2 * delay);
    connect(&m_retry, &QTimer::timeout, this, [this] { attempt(false); });
    connect(&store, &TokenStore::accountsChanged, this, &AutoBackup::accountsChanged);
    connect(&store, &TokenStore::pendingDeletionChanged, this, &AutoBackup::accountsChanged);
    const auto secretsMayHaveArrived = [this] {
        if (m_awaitingSecrets || m_failure == BackupFailure::Kind::keychainLocked)
            accountsChanged();
    };
    connect(&store, &TokenStore::codesChanged, this, secretsMayHaveArrived);
    connect(&store, &TokenStore::keychainStatusChanged, this, secretsMayHaveArrived);
    connect(&m_watch, &FolderWatch::changed, this, &AutoBackup::folderChanged);
    connect(&m_job, &QFutureWatcherBase::finished, this, [this] { written(m_job.result()); });
    if (isOn()) {
        m_watch.watch(folder());
        m_quiet.start(); // at start: catches up on a backup that failed or was cut off
    }
}

AutoBackup::~AutoBackup()
{
    // A backup under way finishes rather than leave its temporary file behind.
    m_job.waitForFinished();
}

void AutoBackup::setUp(const QString &folder, const QString &password, int keep, BackupSetup::Done done)
{
    m_setup.run(folder, password, m_host, computer(), [=, this](const std::expected<void, QString> &made) {
        if (!made)
            return done(made);
        m_settings.turnOn(folder, keep);
        turnedOn(done);
    });
}

void AutoBackup::turnedOn(const BackupSetup::Done &done)
{
    m_failure.reset();
    m_watch.watch(folder());
    Q_EMIT stateChanged();
    Q_EMIT folderContentsChanged();
    // The first backup belongs to setting up: its outcome is the setup's, and a backup asked
    // for right after finds it written instead of writing the same accounts again.
    backUpNow([done](const std::optional<BackupFailure> &failure) {
        done(failure ? std::expected<void, QString>(std::unexpected(failure->description()))
                     : std::expected<void, QString>());
    });
}

void AutoBackup::setFolder(const QString &folder)
{
    if (!isOn())
        return;
    m_settings.setFolder(folder);
    m_watch.watch(this->folder());
    Q_EMIT stateChanged();
    Q_EMIT folderContentsChanged();
    attempt(true);
}

void AutoBackup::setKeep(int keep)
{
    m_settings.setKeep(keep);
    Q_EMIT stateChanged();
}

void AutoBackup::turnOff(std::function<void()> done)
{
    m_keyring.forget(std::move(done));
    m_settings.turnOff();
    m_failure.reset();
    m_quiet.stop();
    m_watch.watch({});
    Q_EMIT stateChanged();
}

void AutoBackup::backUpNow(Done done)
{
    if (!isOn())
        return done(BackupFailure::Kind::off);
    m_waiting.append(std::move(done));
    attempt(true);
}

void AutoBackup::accountsChanged()
{
    if (isOn())
        m_quiet.start();
}

void AutoBackup::attempt(bool force)
{
    if (!isOn())
        return;
    if (m_writing) {
        m_again = true;
        return;
    }
    force = force || !m_waiting.isEmpty(); // someone asked for a backup written now
    // The deletion is backed up once it can no longer be undone.
    if (!force && m_store.pendingDeletion())
        return;
    m_writing = true;
    m_keyring.read([this, force](const std::expected<BackupKey, BackupFailure> &key) {
        if (!key)
            return settle(key.error());
        write(*key, force);
    });
}

void AutoBackup::write(const BackupKey &key, bool force)
{
    const QList<ImportedToken> tokens = m_store.exportTokens();
    if (tokens.size() < m_store.accounts().size()) {
        const auto status = m_store.keychainStatus();
        m_awaitingSecrets = status == KeychainStore::Status::Available || status == KeychainStore::Status::Unknown;
        if (!m_awaitingSecrets)
            return settle(BackupFailure::Kind::keychainLocked);
        m_writing = false; // tried again once the secrets are read
        return;
    }
    m_awaitingSecrets = false;
    const QByteArray digest = key.digest(tokens).toHex();
    if (!force && m_settings.newestHolds(digest))
        return settle(std::nullopt);
    const auto layer = m_layer();
    if (!layer)
        return settle(BackupFailure::Kind::componentMissing);
    QDateTime now = QDateTime::currentDateTime();
    now.setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));
    m_digest = digest;
    m_job.setFuture(QtConcurrent::run(writeAndRotate, BackupRequest{folder(), m_host, computer(), now, tokens,
                                                                    m_store.icons(), key.vault, keep(), *layer}));
}

void AutoBackup::written(const std::expected<QString, BackupFailure> &result)
{
    if (result && !result->isEmpty()) // empty: no accounts, and nothing written over other backups
        m_settings.recordBackup(*result, m_digest, double(QDateTime::currentMSecsSinceEpoch()) / 1000);
    settle(result ? std::nullopt : std::optional(result.error()));
}

void AutoBackup::settle(std::optional<BackupFailure> outcome)
{
    const bool streakStarts = outcome && !m_failure;
    m_failure = outcome;
    m_writing = false;
    m_watch.watch(folder()); // the folder may have come or gone meanwhile
    if (outcome && outcome->mayPassUnseen())
        m_retry.start();
    else
        m_retry.stop();
    Q_EMIT stateChanged();
    if (streakStarts)
        Q_EMIT failureStreakStarted(*outcome);
    for (const Done &done : std::exchange(m_waiting, {}))
        done(outcome);
    if (std::exchange(m_again, false))
        m_quiet.start();
}

void AutoBackup::folderChanged()
{
    Q_EMIT folderContentsChanged();
    if (m_failure)
        m_quiet.start();
}
