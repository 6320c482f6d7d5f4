// With automatic backups on (keep N), 30 random changes of the accounts: at most N backups
// stay, and the outside oracle opens each with exactly the accounts of its time. Then a
// writer process backing up without pause is killed (SIGKILL) at 20 random moments: every
// file under the backup pattern still opens, and the last verified one is in place.
// Run inside scripts/with-keyring.
#include "backup/AutoBackup.h"
#include "backup/BackupFolder.h"
#include "store/SecretServiceKeychain.h"
#include "store/TokenStore.h"
#include "transfer/TransferPlugin.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString password = u"bench password"_s;
const QString host = u"bench"_s;
constexpr int keep = 5;
constexpr int changes = 30;
constexpr int kills = 20;

struct Bench
{
    Bench(const QString &settingsFile, std::chrono::milliseconds delay)
        : settings(settingsFile, QSettings::IniFormat),
          store(keychain, settings, systemClock),
          backup(
              store, keychain, settings, [this] { return std::expected<const TransferLayer *, TransferError>(&layer); },
              host, delay)
    {
        backup.setKeyProgram(QStringLiteral(CORVANE_BINARY));
    }

    // Waits for the backup under way, or the quiet time's, to settle.
    bool settled()
    {
        QElapsedTimer waited;
        waited.start();
        while (backup.isBusy() && waited.elapsed() < 30000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        return !backup.isBusy() && !backup.failure();
    }

    bool add(int n)
    {
        std::optional<bool> ok;
        const QString secret = u"GEZDGNBVGY3TQOJQGEZDGNBVGY3T"_s + QString(4, QChar(u'A' + n % 26));
        store.add({u"账户 %1"_s.arg(n), u"Issuer %1"_s.arg(n % 3), secret, 30, 6},
                  [&](const auto &added) { ok = added.has_value(); });
        while (!ok)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return *ok;
    }

    QJsonArray entries()
    {
        QJsonArray list;
        for (const ImportedToken &token : store.exportTokens())
            list.append(QJsonArray{u"totp"_s, token.name, token.issuer, token.secret, u"SHA1"_s, token.otp.digits,
                                   token.otp.period});
        return list;
    }

    SecretServiceKeychain keychain;
    TransferPlugin layer;
    QSettings settings;
    TokenStore store;
    AutoBackup backup;
};

QStringList backupPaths(const QString &folder)
{
    QStringList paths;
    for (const BackupName &name : BackupFolder::backups(folder))
        paths.append(QDir(folder).filePath(name.fileName()));
    return paths;
}

// The oracle's entries of each vault; absent when one does not open.
std::optional<QList<QJsonArray>> oracle(const QStringList &paths)
{
    QProcess python;
    python.start(u"python3"_s, QStringList{QStringLiteral(CORVANE_VAULT_ORACLE)} + paths);
    python.write((password + u'\n').toUtf8());
    python.closeWriteChannel();
    if (!python.waitForFinished(300000) || python.exitCode() != 0)
        return std::nullopt;
    QList<QJsonArray> vaults;
    for (const QByteArray &line : python.readAllStandardOutput().trimmed().split('\n'))
        vaults.append(QJsonDocument::fromJson(line).array());
    return vaults;
}

bool randomChanges(const QString &settingsFile, const QString &folder)
{
    Bench bench(settingsFile, std::chrono::milliseconds(200));
    auto *random = QRandomGenerator::global();
    bool set = false;
    bench.backup.setUp(folder, password, keep, [&](const auto &result) { set = result.has_value(); });
    while (!set)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (!bench.settled())
        return false;
    QHash<QString, QJsonArray> expected;
    expected.insert(bench.settings.value(u"totp.backupLastFile"_s).toString(), bench.entries());
    QElapsedTimer clock;
    qint64 longest = 0;
    int next = 0;
    for (int change = 0; change < changes; ++change) {
        const auto &accounts = bench.store.accounts();
        const int kind = accounts.size() < 2 ? 0 : int(random->bounded(4));
        const TokenAccount account = accounts.isEmpty() ? TokenAccount() : accounts[random->bounded(accounts.size())];
        clock.start();
        if (kind == 0)
            bench.add(next++);
        else if (kind == 1)
            (void)bench.store.update(account, account.name + u"·"_s, account.issuer);
        else if (kind == 2)
            bench.store.move(account, random->bounded(2) ? 1 : -1);
        else {
            bench.store.requestDelete(account);
            bench.store.finalizePendingDeletion(); // its undo window passed
        }
        if (!bench.settled())
            return false;
        longest = std::max(longest, clock.elapsed());
        expected.insert(bench.settings.value(u"totp.backupLastFile"_s).toString(), bench.entries());
    }
    const QStringList paths = backupPaths(folder);
    const auto vaults = oracle(paths);
    int exact = 0;
    for (qsizetype i = 0; vaults && i < paths.size(); ++i)
        exact += (*vaults)[i] == expected.value(QFileInfo(paths[i]).fileName());
    std::printf("random changes: %d changes, keep %d: %lld backups left, %d opened by the oracle with exactly "
                "the accounts of their time; longest change-to-verified %lld ms (200 ms quiet time included)\n",
                changes, keep, qlonglong(paths.size()), exact, qlonglong(longest));
    return paths.size() <= keep && exact == paths.size();
}

// The writer: changes an account and backs up, again and again, until killed.
int writer(const QString &settingsFile)
{
    Bench bench(settingsFile, std::chrono::milliseconds(0));
    bench.store.refreshCodes(systemClock());
    for (int round = 0;; ++round) {
        if (!bench.store.accounts().isEmpty()) {
            const TokenAccount account = bench.store.accounts().constFirst();
            (void)bench.store.update(account, u"轮 %1"_s.arg(round), account.issuer);
        }
        std::optional<std::optional<BackupFailure>> done;
        bench.backup.backUpNow([&](const auto &failure) { done = failure; });
        while (!done)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

bool killedWriters(const QString &settingsFile, const QString &folder)
{
    auto *random = QRandomGenerator::global();
    int openable = 0, lastInPlace = 0;
    qlonglong files = 0;
    for (int kill = 0; kill < kills; ++kill) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {u"--writer"_s, settingsFile});
        if (!child.waitForStarted())
            return false;
        QThread::msleep(300 + random->bounded(1500));
        ::kill(pid_t(child.processId()), SIGKILL);
        child.waitForFinished();
        const QStringList paths = backupPaths(folder);
        files += paths.size();
        openable += oracle(paths).has_value();
        QSettings settings(settingsFile, QSettings::IniFormat);
        lastInPlace += QFile::exists(QDir(folder).filePath(settings.value(u"totp.backupLastFile"_s).toString()));
    }
    std::printf("kill -9: %d kills during backups; after %d of them every file under the pattern opened "
                "(%lld files checked), after %d the last verified backup was in place\n",
                kills, openable, files, lastInPlace);
    return openable == kills && lastInPlace == kills;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (app.arguments().size() == 3 && app.arguments()[1] == u"--writer"_s)
        return writer(app.arguments()[2]);
    QTemporaryDir work;
    const QString settingsFile = work.filePath(u"Corvane.conf"_s);
    const QString folder = work.filePath(u"backups"_s);
    QDir().mkpath(folder);
    const bool changed = randomChanges(settingsFile, folder);
    const bool killed = killedWriters(settingsFile, folder);
    std::printf("backup bench: %s\n", changed && killed ? "every target met" : "some targets NOT MET");
    return changed && killed ? 0 : 1;
}
