#include "backup/AutoBackup.h"
#include "backup/BackupCatalog.h"
#include "backup/BackupComputer.h"
#include "backup/BackupFolder.h"
#include "backup/BackupOffer.h"
#include "store/SecretServiceKeychain.h"
#include "support/StoreFixture.h"
#include "transfer/TransferPlugin.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString password = u"correct horse"_s;
constexpr auto quiet = std::chrono::milliseconds(150);

// The entries the outside oracle reads from each vault, [type, name, issuer, secret, algo,
// digits, period]; empty when one does not open.
QList<QJsonArray> oracle(const QStringList &paths, const QStringList &options = {})
{
    QProcess python;
    python.start(u"python3"_s, QStringList{QStringLiteral(CORVANE_VAULT_ORACLE)} + options + paths);
    python.write((password + u'\n').toUtf8());
    python.closeWriteChannel();
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
        return {};
    QList<QJsonArray> vaults;
    for (const QByteArray &line : python.readAllStandardOutput().trimmed().split('\n'))
        vaults.append(QJsonDocument::fromJson(line).array());
    return vaults;
}

QJsonArray entries(const QList<TokenAccount> &accounts, const QHash<QString, QString> &secrets)
{
    QJsonArray list;
    for (const TokenAccount &account : accounts)
        list.append(QJsonArray{u"totp"_s, account.name, account.issuer, secrets.value(account.name), u"SHA1"_s,
                               account.otp.digits, account.otp.period});
    return list;
}

QStringList names(const QList<ImportedToken> &tokens)
{
    QStringList names;
    for (const ImportedToken &token : tokens)
        names.append(token.name);
    return names;
}

std::optional<BackupKey> keyIn(KeychainStore &keychain)
{
    return BackupKey::fromText(read(keychain, {BackupKey::itemId}).value(BackupKey::itemId));
}

// The file size limit makes every larger write fail, as a full disk would.
struct WriteLimit
{
    explicit WriteLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit limit{bytes, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~WriteLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
    rlimit saved{};
};

} // namespace

// Automatic backups written in real folders against the real keyring, opened by an outside
// oracle. The first test sets the key up; the others start with backups on and find it.
class TestAutoBackup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const auto saved = save(m_keychain, u"AAAA"_s, BackupKey::itemId);
        if (saved)
            return;
        if (qEnvironmentVariable("CI") == u"true"_s)
            QFAIL(qPrintable(u"no Secret Service: "_s + saved.error().description()));
        QSKIP("no Secret Service on this session bus; run through scripts/with-keyring");
    }

    void init()
    {
        m_settings = std::make_unique<TempSettings>();
        m_folder = std::make_unique<QTemporaryDir>();
        m_secrets.clear();
        m_icons = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<TokenStore>(m_keychain, m_settings->settings(), m_clock.function(),
                                               m_clock.singleShot(), nullptr, IconFolder(m_icons->path()));
        addAccounts({u"A"_s});
        const bool keyMade = keyIn(m_keychain).has_value();
        if (keyMade)
            BackupSettings(m_settings->settings()).turnOn(m_folder->path(), 3);
        m_backup = makeBackup(u"alpha"_s);
        QCOMPARE(keyMade ? QString() : setUp(*m_backup, m_folder->path(), password), QString());
        QTRY_COMPARE(files().size(), 1);
        // The file is there before the main thread records it: a restart before then writes again.
        QTRY_VERIFY(BackupSettings(m_settings->settings()).lastBackupTime());
    }

    void cleanup()
    {
        m_backup.reset();
        m_store.reset();
    }

    void firstBackupOpensInTheOracle()
    {
        const auto vaults = oracle(paths());
        QCOMPARE(vaults.size(), 1);
        QCOMPARE(vaults[0], entries(m_store->accounts(), m_secrets));
        QVERIFY(!m_settings->settings().allKeys().join(u' ').contains(u"masterKey"_s));
        QFile settings(m_settings->fileName());
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QVERIFY(!settings.readAll().contains(m_secrets.value(u"A"_s).toLatin1()));
    }

    // A peer's file imported comes back in the next backup with each account's icon bytes,
    // groups (by uuid where the file had them), note and favourite flag, read by the oracle as
    // Aegis documents its vault.
    void peerFilesComeBackWhole_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("groupIds");
        QTest::newRow("Aegis, icons and groups") << u"aegis_plain_details.json"_s << true;
        QTest::newRow("Aegis, groups by name") << u"aegis_plain_grouped_v2.json"_s << false;
        QTest::newRow("2FAS, groups") << u"2fas_groups.2fas"_s << true;
        QTest::newRow("Ente, tags") << u"ente_auth_details.txt"_s << false;
    }
    void peerFilesComeBackWhole()
    {
        QFETCH(QString, file);
        QFETCH(bool, groupIds);
        QFile sample(QStringLiteral(CORVANE_TRANSFER_DATA "/") + file);
        QVERIFY(sample.open(QIODevice::ReadOnly));
        const auto batch = m_layer.readBackup(sample.readAll(), {}, std::stop_token());
        QVERIFY(batch);
        QVERIFY(
            awaitKeychain<ImportSummary>([&](auto done) { m_store->addAll(batch->tokens, done); }).refused.isEmpty());
        QTRY_COMPARE(files().size(), 2);
        const QJsonArray entries = oracle(paths().mid(0, 1), {u"--details"_s}).value(0);
        QCOMPARE(entries.size(), batch->tokens.size() + 1);
        for (qsizetype i = 0; i < batch->tokens.size(); ++i) {
            const ImportedToken &token = batch->tokens[i];
            const QJsonObject details = entries[i + 1].toArray().last().toObject();
            QCOMPARE(details[u"uuid"].toString(), m_store->accounts().at(i + 1).id.toString(QUuid::WithoutBraces));
            QCOMPARE(details[u"icon"][u"sha256"].toString(), token.icon ? token.icon->hash : QString());
            QCOMPARE(details[u"icon"][u"mime"].toString(),
                     token.icon ? AccountIcon::mimeName(token.icon->type) : QString());
            QJsonArray groups;
            for (const AccountGroup &group : token.groups)
                groups.append(QJsonArray{groupIds ? group.id.toString(QUuid::WithoutBraces) : QString(), group.name});
            QJsonArray written = details[u"groups"].toArray();
            for (QJsonValueRef group : written)
                group = QJsonArray{groupIds ? group[0] : QString(), group[1]};
            QCOMPARE(written, groups);
            QCOMPARE(details[u"note"].toString(), token.note);
            QCOMPARE(details[u"favorite"].toBool(), token.favourite);
        }
    }

    void burstOfChangesWritesOnce()
    {
        addAccounts({u"B"_s, u"C"_s});
        m_store->move(account(u"C"_s), -2);
        QTRY_COMPARE(files().size(), 2);
        QTest::qWait(4 * quiet.count());
        QCOMPARE(files().size(), 2);
        QCOMPARE(oracle(paths()).constFirst(), entries(m_store->accounts(), m_secrets));
    }

    void unchangedAccountsWriteNothing_data()
    {
        QTest::addColumn<bool>("restart");
        QTest::newRow("renamed and renamed back") << false;
        QTest::newRow("started again") << true;
    }
    void unchangedAccountsWriteNothing()
    {
        QFETCH(bool, restart);
        if (restart) {
            m_backup.reset();
            m_store = std::make_unique<TokenStore>(m_keychain, m_settings->settings(), m_clock.function(),
                                                   m_clock.singleShot(), nullptr, IconFolder(m_icons->path()));
            m_backup = makeBackup(u"alpha"_s);
            m_store->refreshCodes(m_clock.now);
        } else {
            QVERIFY(m_store->update(account(u"A"_s), u"X"_s, u"Issuer"_s));
            QVERIFY(m_store->update(account(u"X"_s), u"A"_s, u"Issuer"_s));
        }
        QSignalSpy settled(m_backup.get(), &AutoBackup::stateChanged);
        QVERIFY(settled.wait());
        QVERIFY(!m_backup->failure());
        QCOMPARE(files().size(), 1);
    }

    void deletionWaitsForItsUndoWindow()
    {
        addAccounts({u"B"_s});
        QTRY_COMPARE(files().size(), 2);
        m_store->requestDelete(account(u"B"_s));
        QTest::qWait(4 * quiet.count());
        QCOMPARE(files().size(), 2);
        m_clock.advance(6);
        QTRY_COMPARE(files().size(), 3);
        QCOMPARE(oracle(paths()).constFirst(), entries(m_store->accounts(), m_secrets));
    }

    void rotationKeepsThisComputersNewest()
    {
        const QStringList others{BackupName{u"beta"_s, QDateTime(QDate(2020, 1, 1), QTime(0, 0))}.fileName(),
                                 u"corvane-backup-alpha.json"_s, u"notes.txt"_s};
        for (const QString &other : others)
            QVERIFY(QFile(m_folder->filePath(other)).open(QIODevice::WriteOnly));
        for (int i = 0; i < 5; ++i) {
            QSignalSpy settled(m_backup.get(), &AutoBackup::stateChanged);
            addAccounts({QString(QChar(u'B' + i))});
            QVERIFY(settled.wait());
            QVERIFY(!m_backup->failure());
        }
        QCOMPARE(files().size(), 3);
        for (const QString &other : others)
            QVERIFY(QFile::exists(m_folder->filePath(other)));
        const auto vaults = oracle(paths());
        QCOMPARE(vaults.size(), 3);
        QCOMPARE(vaults[0], entries(m_store->accounts(), m_secrets));
    }

    void failedWriteKeepsEarlierBackups_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("folder gone") << u"gone"_s;
        QTest::newRow("disk full") << u"full"_s;
        QTest::newRow("read-only folder") << u"read-only"_s;
    }
    void failedWriteKeepsEarlierBackups()
    {
        QFETCH(QString, fault);
        const QString moved = m_folder->path() + u".away"_s;
        const QByteArray before = contents();
        QSignalSpy streaks(m_backup.get(), &AutoBackup::failureStreakStarted);
        {
            std::optional<WriteLimit> limit;
            addAccounts({u"B"_s});
            if (fault == u"gone"_s)
                QVERIFY(QDir().rename(m_folder->path(), moved));
            else if (fault == u"full"_s)
                limit.emplace(64);
            else if (!makeReadOnly())
                QSKIP("cannot make a folder read-only here");
            QTRY_VERIFY(m_backup->failure());
            std::optional<BackupFailure> again;
            m_backup->backUpNow([&](auto failure) { again = failure; });
            QTRY_VERIFY(again);
            QCOMPARE(streaks.size(), 1);
            if (fault == u"gone"_s)
                QVERIFY(QDir().rename(moved, m_folder->path()));
            else if (fault == u"read-only"_s)
                makeWritable();
        }
        QCOMPARE(contents(), before);
        QTRY_VERIFY_WITH_TIMEOUT(!m_backup->failure(), 5000);
        QCOMPARE(files().size(), 2);
        QCOMPARE(oracle(paths()).constFirst(), entries(m_store->accounts(), m_secrets));
    }

    void secondComputerSharesTheKey_data()
    {
        QTest::addColumn<QString>("secondPassword");
        QTest::addColumn<QString>("folder"); // within the shared one
        QTest::newRow("the same password") << password << QString();
        QTest::newRow("another password") << u"another password"_s << QString();
        QTest::newRow("a folder that is not there") << password << u"missing"_s;
    }
    // Set up on the folder another computer backs up to, with its password, a computer takes
    // over its key: each opens the other's backups without a password. It writes no backup of
    // no accounts over them.
    void secondComputerSharesTheKey()
    {
        QFETCH(QString, secondPassword);
        QFETCH(QString, folder);
        const bool same = secondPassword == password && folder.isEmpty();
        TempSettings settings;
        MemoryKeychain keychain; // the other computer's own keychain
        TokenStore store(keychain, settings.settings(), m_clock.function(), m_clock.singleShot());
        AutoBackup beta(store, keychain, settings.settings(), layerSource(), u"beta"_s, quiet);
        beta.setKeyProgram(QStringLiteral(CORVANE_BINARY));
        QCOMPARE(setUp(beta, m_folder->filePath(folder), secondPassword).isEmpty(), same);
        QCOMPARE(beta.isOn(), same);
        if (!same)
            return;
        QCOMPARE(keyIn(keychain)->vault, keyIn(m_keychain)->vault);
        QTRY_VERIFY(!beta.isBusy());
        QCOMPARE(BackupFolder::backups(m_folder->path()).size(), 1);
        QVERIFY(added(store, {u"Own"_s, u"Issuer"_s, rfcSecret.left(28) + u"ZZZZ"_s, 30, 6}));
        QTRY_COMPARE(BackupFolder::backups(m_folder->path()).size(), 2);
        // Both computers may have written within the same second: look for beta's by name.
        const auto backups = BackupFolder::backups(m_folder->path());
        const auto betasFile =
            std::ranges::find_if(backups, [](const BackupName &name) { return name.host == u"beta"_s; });
        QVERIFY(betasFile != backups.end());
        QFile written(m_folder->filePath(betasFile->fileName()));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(m_layer.readVault(written.readAll(), keyIn(m_keychain)->vault.masterKey));
    }

    void restoreListsEveryBackup_data()
    {
        QTest::addColumn<QString>("planted"); // the oldest file of the folder
        QTest::addColumn<int>("state"); // BackupEntry::State; -1: left out
        QTest::newRow("another password") << u"vault"_s << int(BackupEntry::State::needsPassword);
        QTest::newRow("not JSON") << u"text"_s << int(BackupEntry::State::unreadable);
        QTest::newRow("too large") << u"large"_s << int(BackupEntry::State::unreadable);
        QTest::newRow("a folder") << u"folder"_s << -1;
        QTest::newRow("a FIFO") << u"fifo"_s << -1;
    }
    // Newest first, each with its computer and accounts when this password opens it.
    void restoreListsEveryBackup()
    {
        QFETCH(QString, planted);
        QFETCH(int, state);
        addAccounts({u"B"_s});
        QTRY_COMPARE(files().size(), 2);
        const QString path =
            m_folder->filePath(BackupName{u"beta"_s, QDateTime(QDate(2020, 1, 1), QTime(0, 0))}.fileName());
        QFile file(path);
        if (planted == u"folder"_s)
            QVERIFY(QDir().mkdir(path));
        else if (planted == u"fifo"_s)
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            QVERIFY(file.open(QIODevice::WriteOnly));
        if (planted == u"vault"_s) {
            const KeyDerivation slot = m_layer.newVaultSlot();
            file.write(*m_layer.writeVault(m_store->exportTokens(), slot, *m_layer.deriveKey(slot, "another one")));
        } else if (planted == u"text"_s) {
            file.write("{\"corvane\": {\"computer\": 7}, \"db\": [");
        } else if (planted == u"large"_s) {
            QVERIFY(file.resize(17 << 20));
        }
        file.close();
        const auto entries = BackupCatalog::openAll(m_folder->path(), u"alpha"_s, m_backup->computer(),
                                                    keyIn(m_keychain)->vault.masterKey, m_layer);
        QCOMPARE(entries.size(), state < 0 ? 2 : 3);
        QList<qsizetype> counts;
        for (const BackupEntry &entry : entries.first(2)) {
            QVERIFY(entry.own);
            QCOMPARE(entry.computer, u"alpha #"_s + m_backup->computer().left(4)); // told from another "alpha"
            QCOMPARE(entry.state, BackupEntry::State::opened);
            counts.append(entry.batch.tokens.size());
        }
        QCOMPARE(counts, QList<qsizetype>({2, 1}));
        if (state >= 0) {
            QCOMPARE(entries[2].computer, u"beta"_s); // written without an id
            QCOMPARE(int(entries[2].state), state);
        }
    }

    void secondHomeIsOfferedWhatItLacks_data()
    {
        QTest::addColumn<bool>("adds");
        QTest::newRow("adds them") << true;
        QTest::newRow("skips them") << false;
    }
    // Another home on this machine (the same host name, its own settings and keychain) set up
    // on the folder with the same password is offered exactly the accounts it lacks, once for
    // each backup, and neither rotates the other's backups away.
    void secondHomeIsOfferedWhatItLacks()
    {
        QFETCH(bool, adds);
        addAccounts({u"B"_s});
        QTRY_COMPARE(files().size(), 2);
        TempSettings settings;
        MemoryKeychain keychain;
        TokenStore store(keychain, settings.settings(), m_clock.function(), m_clock.singleShot());
        QVERIFY(added(store, {u"A here"_s, u"Issuer"_s, m_secrets.value(u"A"_s), 30, 6}));
        QVERIFY(added(store, {u"Own"_s, u"Issuer"_s, rfcSecret.left(28) + u"ZZZZ"_s, 30, 6}));
        AutoBackup second(store, keychain, settings.settings(), layerSource(), u"alpha"_s, quiet);
        second.setKeyProgram(QStringLiteral(CORVANE_BINARY));
        QCOMPARE(setUp(second, m_folder->path(), password), QString());
        const auto offer = [&] {
            return std::make_unique<BackupOffer>(second, store, settings.settings(), layerSource(), quiet);
        };
        auto offered = offer();
        QTRY_COMPARE(names(offered->offer().tokens), QStringList{u"B"_s});
        if (adds)
            QVERIFY(added(store, offered->offer().tokens.constFirst()));
        else
            offered->handled();
        QTRY_VERIFY(offered->offer().tokens.isEmpty());
        offered = offer(); // started again: the same backup is not offered again
        QTest::qWait(6 * quiet.count());
        QVERIFY(offered->offer().tokens.isEmpty());
        QTRY_VERIFY(!second.isBusy());
        QStringList secondsFiles = QDir(m_folder->path()).entryList({u"corvane-backup-*"_s});
        for (const QString &file : files())
            secondsFiles.removeOne(file);
        QVERIFY(!secondsFiles.isEmpty());
        addAccounts({u"D"_s, u"E"_s, u"F"_s});
        QTRY_COMPARE(names(offered->offer().tokens),
                     adds ? QStringList({u"D"_s, u"E"_s, u"F"_s}) : QStringList({u"B"_s, u"D"_s, u"E"_s, u"F"_s}));
        for (const QString &name : {u"G"_s, u"H"_s, u"I"_s}) {
            QSignalSpy settled(m_backup.get(), &AutoBackup::stateChanged);
            addAccounts({name});
            QVERIFY(settled.wait());
        }
        QCOMPARE(files().size(), 3);
        for (const QString &file : secondsFiles)
            QVERIFY2(QFile::exists(m_folder->filePath(file)), qPrintable(file));
    }

private:
    LayerSource layerSource()
    {
        return [this] { return std::expected<const TransferLayer *, TransferError>(&m_layer); };
    }

    std::unique_ptr<AutoBackup> makeBackup(const QString &host)
    {
        auto backup =
            std::make_unique<AutoBackup>(*m_store, m_keychain, m_settings->settings(), layerSource(), host, quiet);
        backup->setKeyProgram(QStringLiteral(CORVANE_BINARY));
        return backup;
    }

    // Why a setup keeping 3 failed; empty when it succeeded.
    static QString setUp(AutoBackup &backup, const QString &folder, const QString &password)
    {
        std::optional<std::expected<void, QString>> done;
        backup.setUp(folder, password, 3, [&](auto result) { done = result; });
        if (!QTest::qWaitFor([&] { return done.has_value(); }, 30000))
            return u"timed out"_s;
        return *done ? QString() : done->error();
    }

    // In one batch, one change of the list; secrets of 32 characters: 20 whole bytes, kept as they are.
    void addAccounts(const QStringList &names)
    {
        QList<ImportedToken> tokens;
        for (const QString &name : names) {
            m_secrets.insert(name, rfcSecret.left(28) + QString(4, QChar(u'A' + int(m_secrets.size()) + 1)));
            tokens.append({name, u"Issuer"_s, m_secrets.value(name), 30, 6});
        }
        QCOMPARE(addedAll(*m_store, tokens).added.size(), names.size());
    }

    TokenAccount account(const QString &name) const
    {
        for (const TokenAccount &account : m_store->accounts()) {
            if (account.name == name)
                return account;
        }
        return {};
    }

    // This computer's backups, newest first.
    QStringList files() const
    {
        QStringList names;
        for (const BackupName &name : BackupFolder::backups(m_folder->path())) {
            const auto id = BackupComputer::idOf(m_folder->filePath(name.fileName()));
            if (BackupFolder::isOwn(name, id, u"alpha"_s, m_backup->computer()))
                names.append(name.fileName());
        }
        return names;
    }
    QStringList paths() const
    {
        QStringList paths;
        for (const QString &file : files())
            paths.append(m_folder->filePath(file));
        return paths;
    }
    // Every file of the folder, names and bytes.
    QByteArray contents() const
    {
        QByteArray all;
        for (const QString &file : QDir(m_folder->path()).entryList(QDir::Files)) {
            QFile f(m_folder->filePath(file));
            all += file.toUtf8() + (f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
        }
        return all;
    }
    // Permissions do not hold for root: there the folder is made immutable.
    bool makeReadOnly()
    {
        QFile::setPermissions(m_folder->path(), QFile::ReadOwner | QFile::ExeOwner);
        if (geteuid() == 0)
            QProcess::execute(u"chattr"_s, {u"+i"_s, m_folder->path()});
        return !QFile(m_folder->filePath(u"probe"_s)).open(QIODevice::WriteOnly);
    }
    void makeWritable()
    {
        if (geteuid() == 0)
            QProcess::execute(u"chattr"_s, {u"-i"_s, m_folder->path()});
        QFile::setPermissions(m_folder->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    SecretServiceKeychain m_keychain;
    TransferPlugin m_layer;
    FakeClock m_clock{59};
    QHash<QString, QString> m_secrets; // by account name
    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<QTemporaryDir> m_icons;
    std::unique_ptr<TokenStore> m_store;
    std::unique_ptr<AutoBackup> m_backup;
};

QTEST_GUILESS_MAIN(TestAutoBackup)
#include "tst_autobackup.moc"
