#include "backup/AutoBackup.h"

#include "backup/BackupCatalog.h"
#include "backup/BackupComputer.h"
#include "backup/BackupFolder.h"
#include "backup/BackupWriter.h"
#include "store/KeychainStore.h"
#include "store/TokenStore.h"

#include <QDateTime>
#include <QDir>
#include <QPointer>
#include <QtConcurrentRun>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString folderSetting = u"totp.backupFolder"_s;
const QString keepSetting = u"totp.backupKeep"_s;
const QString lastFileSetting = u"totp.backupLastFile"_s;
const QString digestSetting = u"totp.backupDigest"_s;
const QString timeSetting = u"totp.backupTime"_s;
const QString computerSetting = u"totp.backupComputer"_s;
// Older than any write of ours takes: the temporary file of a write that was cut off.
constexpr std::chrono::minutes leftoverAge(10);

std::expected<QString, BackupFailure> writeAndRotate(const BackupRequest &request)
{
    auto written = BackupWriter::write(request);
    if (written) {
        BackupFolder::rotate(request.folder, request.host, request.computer, request.keep, *written);
        BackupFolder::removeLeftovers(request.folder, request.host, leftoverAge);
    }
    return written;
}

// The folder itself, or the nearest folder above it that exists, to learn when it comes back.
QString nearestExisting(QString path)
{
    while (!QFileInfo(path).isDir() && QFileInfo(path).dir().path() != path)
        path = QFileInfo(path).dir().path();
    return path;
}

} // namespace

AutoBackup::AutoBackup(TokenStore &store, KeychainStore &keychain, QSettings &settings, LayerSource layer, QString host,
                       std::chrono::milliseconds delay, QObject *parent)
    : QObject(parent),
      m_store(store),
      m_keychain(keychain),
      m_settings(settings),
      m_layer(std::move(layer)),
      m_host(BackupName::safeHost(host))
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
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &AutoBackup::folderChanged);
    connect(&m_job, &QFutureWatcherBase::finished, this, [this] { written(m_job.result()); });
    if (isOn()) {
        watchFolder();
        m_quiet.start(); // at start: catches up on a backup that failed or was cut off
    }
}

AutoBackup::~AutoBackup()
{
    // A backup under way finishes rather than leave its temporary file behind.
    m_job.waitForFinished();
}

QString AutoBackup::folder() const
{
    return m_settings.value(folderSetting).toString();
}

int AutoBackup::keep() const
{
    return std::max(minimumKeep, m_settings.value(keepSetting, defaultKeep).toInt());
}

QString AutoBackup::computer()
{
    if (!m_settings.contains(computerSetting)) {
        m_settings.setValue(computerSetting, BackupComputer::newId());
        m_settings.sync();
    }
    return m_settings.value(computerSetting).toString();
}

std::optional<double> AutoBackup::lastBackupTime() const
{
    const QVariant time = m_settings.value(timeSetting);
    return time.isValid() ? std::optional(time.toDouble()) : std::nullopt;
}

void AutoBackup::setUp(const QString &folder, const QString &password, int keep, SetUpDone done)
{
    if (password.size() < minimumPasswordLength)
        return done(std::unexpected(tr("密码至少要有 %n 个字符。", nullptr, minimumPasswordLength)));
    if (!QFileInfo(folder).isDir()) // nothing is turned on for a folder that is not there
        return done(std::unexpected(BackupFailure(BackupFailure::Kind::folderMissing).description()));
    const auto layer = m_layer();
    if (!layer)
        return done(std::unexpected(layer.error().description()));
    // Another computer's backup in the folder: the same password opens its key, and taking it
    // over lets each computer open the other's backups. Finding it reads files: on a worker.
    QtConcurrent::run([folder, host = m_host, computer = computer(), layer = *layer] {
        OtherBackup other{BackupCatalog::newestOtherVault(folder, host, computer), std::nullopt};
        if (!other.vault.isEmpty())
            other.slot = layer->vaultSlot(other.vault);
        return other;
    }).then(this, [=, this, layer = *layer](const OtherBackup &other) {
        deriveKey(folder, password, keep, layer, other, done);
    });
}

void AutoBackup::deriveKey(const QString &folder, const QString &password, int keep, const TransferLayer *layer,
                           const OtherBackup &other, const SetUpDone &done)
{
    if (!m_deriver)
        m_deriver = std::make_unique<KeyDeriver>(m_keyProgram);
    const bool adopted = other.slot.has_value();
    const KeyDerivation slot = other.slot.value_or(layer->newVaultSlot());
    m_deriver->derive(password.toUtf8(), slot, [=, this](const std::optional<QByteArray> &slotKey) {
        using Made = std::expected<VaultKey, TransferError>;
        const Made vault = !slotKey  ? Made(std::unexpected(TransferError::Kind::damaged))
                           : adopted ? layer->vaultKeyOf(other.vault, *slotKey)
                                     : layer->newVaultKey(slot, *slotKey);
        if (!vault && vault.error().kind() == TransferError::Kind::wrongPassword)
            return done(std::unexpected(tr("密码与文件夹中另一台电脑的备份不同。")));
        if (!vault)
            return done(std::unexpected(tr("无法生成备份密钥。")));
        const BackupKey key = BackupKey::withNewDigestKey(*vault);
        m_keychain.save(key.toText(), BackupKey::itemId,
                        [=, this, guard = QPointer(this)](const KeychainStore::SaveResult &saved) {
                            if (!guard)
                                return;
                            if (!saved)
                                return done(std::unexpected(saved.error().description()));
                            keySaved(folder, keep, key, done);
                        });
    });
}

void AutoBackup::keySaved(const QString &folder, int keep, const BackupKey &key, const SetUpDone &done)
{
    m_settings.setValue(folderSetting, QDir(folder).absolutePath());
    m_settings.setValue(keepSetting, std::max(minimumKeep, keep));
    for (const QString &setting : {lastFileSetting, digestSetting, timeSetting})
        m_settings.remove(setting);
    m_settings.sync();
    m_key = key;
    m_failure.reset();
    watchFolder();
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
    m_settings.setValue(folderSetting, QDir(folder).absolutePath());
    m_settings.sync();
    watchFolder();
    Q_EMIT stateChanged();
    Q_EMIT folderContentsChanged();
    attempt(true);
}

void AutoBackup::setKeep(int keep)
{
    m_settings.setValue(keepSetting, std::max(minimumKeep, keep));
    m_settings.sync();
    Q_EMIT stateChanged();
}

void AutoBackup::turnOff(std::function<void()> done)
{
    m_keychain.remove(BackupKey::itemId, [done](bool) {
        if (done)
            done();
    });
    for (const QString &setting : {folderSetting, keepSetting, lastFileSetting, digestSetting, timeSetting})
        m_settings.remove(setting);
    m_settings.sync();
    m_key.reset();
    m_failure.reset();
    m_quiet.stop();
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    Q_EMIT stateChanged();
}

void AutoBackup::backUpNow(Done done)
{
    if (!isOn())
        return done(BackupFailure::Kind::off);
    m_waiting.append(std::move(done));
    attempt(true);
}

void AutoBackup::readMasterKey(std::function<void(const QByteArray &)> done)
{
    if (m_key)
        return done(m_key->vault.masterKey);
    m_keychain.read({BackupKey::itemId}, [this, guard = QPointer(this), done](const KeychainStore::ReadResult &read) {
        if (!guard)
            return;
        if (read && !m_key)
            m_key = BackupKey::fromText(read->value(BackupKey::itemId));
        done(m_key ? m_key->vault.masterKey : QByteArray());
    });
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
    withKey([this, force] { write(force); });
}

void AutoBackup::withKey(std::function<void()> next)
{
    if (m_key)
        return next();
    m_keychain.read({BackupKey::itemId}, [this, guard = QPointer(this), next](const KeychainStore::ReadResult &read) {
        if (!guard)
            return;
        if (!read)
            return settle(BackupFailure::Kind::keychainLocked);
        m_key = BackupKey::fromText(read->value(BackupKey::itemId));
        if (!m_key)
            return settle(BackupFailure::Kind::keyMissing);
        next();
    });
}

void AutoBackup::write(bool force)
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
    const QByteArray digest = m_key->digest(tokens).toHex();
    const QString lastFile = m_settings.value(lastFileSetting).toString();
    if (!force && digest == m_settings.value(digestSetting).toByteArray() && !lastFile.isEmpty()
        && QDir(folder()).exists(lastFile))
        return settle(std::nullopt);
    const auto layer = m_layer();
    if (!layer)
        return settle(BackupFailure::Kind::componentMissing);
    QDateTime now = QDateTime::currentDateTime();
    now.setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));
    m_digest = digest;
    m_job.setFuture(QtConcurrent::run(writeAndRotate, BackupRequest{folder(), m_host, computer(), now, tokens,
                                                                    m_store.icons(), m_key->vault, keep(), *layer}));
}

void AutoBackup::written(const std::expected<QString, BackupFailure> &result)
{
    if (result) {
        m_settings.setValue(lastFileSetting, *result);
        m_settings.setValue(digestSetting, m_digest);
        m_settings.setValue(timeSetting, double(QDateTime::currentMSecsSinceEpoch()) / 1000);
        m_settings.sync();
    }
    settle(result ? std::nullopt : std::optional(result.error()));
}

void AutoBackup::settle(std::optional<BackupFailure> outcome)
{
    const bool streakStarts = outcome && !m_failure;
    m_failure = outcome;
    m_writing = false;
    watchFolder();
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

void AutoBackup::watchFolder()
{
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    if (isOn())
        m_watcher.addPath(nearestExisting(folder()));
}

void AutoBackup::folderChanged()
{
    watchFolder();
    Q_EMIT folderContentsChanged();
    if (m_failure)
        m_quiet.start();
}
