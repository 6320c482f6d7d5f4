#include "store/ImportRun.h"
#include "support/StoreFixture.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

const QString otherSecret = u"JBSWY3DPEHPK3PXPJBSWY3DPEHPK3PXP"_s;

// The store as the views use it, over the in-memory keychain; what its pieces decide alone
// is tested with them (tst_codetable, tst_intake).
class TestTokenStore : public QObject
{
    Q_OBJECT

    StoreFixture m_fx;

private Q_SLOTS:
    void init() { m_fx.reset(); }

    void loadsSettings_data()
    {
        QTest::addColumn<QVariant>("delay");
        QTest::addColumn<QVariant>("opacity");
        QTest::addColumn<qint64>("loadedDelay");
        QTest::addColumn<double>("loadedOpacity");
        QTest::newRow("nothing stored") << QVariant() << QVariant() << qint64(60) << 0.82;
        QTest::newRow("0.7 snaps to 0.6") << QVariant(45) << QVariant(0.7) << qint64(45) << 0.6;
        QTest::newRow("0.71 ties go lower") << QVariant(-3) << QVariant(0.71) << qint64(-3) << 0.6;
        QTest::newRow("0.95 snaps to 1.0") << QVariant(0) << QVariant(0.95) << qint64(0) << 1.0;
        QTest::newRow("0.3 and 5.0 clamp") << QVariant(15) << QVariant(5.0) << qint64(15) << 1.0;
    }

    void loadsSettings()
    {
        QFETCH(QVariant, delay);
        QFETCH(QVariant, opacity);
        if (delay.isValid())
            m_fx.settings.settings().setValue(u"totp.clipboardClearDelay"_s, delay);
        if (opacity.isValid())
            m_fx.settings.settings().setValue(u"totp.panelOpacity"_s, opacity);
        TokenStore &store = m_fx.restart();
        QTEST(store.preferences().clipboardClearDelay(), "loadedDelay");
        QTEST(store.preferences().panelOpacity(), "loadedOpacity");
        QCOMPARE(m_fx.settings.settings().allKeys().size(), int(delay.isValid()) + int(opacity.isValid()));
    }

    void settingsAreStoredOnlyWhenAsked()
    {
        TokenStore &store = m_fx.restart();
        store.preferences().setPanelOpacity(1.0);
        store.preferences().setClipboardClearDelay(15);
        store.preferences().setHideCodes(true);
        QVERIFY(m_fx.settings.reopen()->allKeys().isEmpty());
        store.preferences().persist();
        const auto reopened = m_fx.settings.reopen();
        QCOMPARE(reopened->value(u"totp.panelOpacity"_s).toDouble(), 1.0);
        QCOMPARE(reopened->value(u"totp.clipboardClearDelay"_s).toLongLong(), 15);
        QCOMPARE(reopened->value(u"totp.hideCodes"_s).toBool(), true);
        QVERIFY(m_fx.restart().preferences().hideCodes());
    }

    // A start reads the top rows' secrets first, then the others in batches; rows shown
    // meanwhile come next.
    void readsShownSecretsFirst()
    {
        const QList<TokenAccount> accounts = m_fx.storeWith(int(SecretCache::batchSize) + 5).accounts();
        const auto ids = [&](qsizetype from, qsizetype count) {
            QList<QUuid> ids;
            for (const TokenAccount &account : accounts.sliced(from, count))
                ids.append(account.id);
            return ids;
        };
        m_fx.keychain.asked.clear();
        m_fx.keychain.holdReads = true;
        TokenStore &store = m_fx.restart();
        QCOMPARE(m_fx.keychain.asked, QList<QList<QUuid>>{ids(0, 3)});
        store.showAccounts(ids(40, 3));
        m_fx.keychain.answerHeld();
        QCOMPARE(store.codes().size(), 3);
        QCOMPARE(m_fx.keychain.asked.value(1).first(5), ids(40, 3) + ids(3, 2));
        QCOMPARE(m_fx.keychain.asked.value(1).size(), SecretCache::batchSize);
        m_fx.keychain.answerHeld();
        m_fx.keychain.answerHeld();
        QCOMPARE(m_fx.keychain.asked.size(), 3);
        QCOMPARE(store.codes().size(), accounts.size());
    }

    // The keychain is read again only for what is missing, after a back-off or a change signal.
    void missingSecretBacksOff_data()
    {
        QTest::addColumn<KeychainStore::Status>("state");
        QTest::addColumn<int>("unlocks");
        QTest::newRow("item missing") << KeychainStore::Status::Available << 0;
        QTest::newRow("locked: one prompt at start") << KeychainStore::Status::Locked << 1;
        QTest::newRow("unreachable") << KeychainStore::Status::Unreachable << 0;
    }

    void missingSecretBacksOff()
    {
        QFETCH(KeychainStore::Status, state);
        TokenStore &store = m_fx.storeWith(1);
        const QUuid id = store.accounts().first().id;
        QSignalSpy codesSpy(&store, &TokenStore::codesChanged);
        m_fx.keychain.items.remove(id); // behind the store's back: the cache still serves
        for (const double at : {60.0, 60.5, 89.99, 90.0})
            store.refreshCodes(at);
        QCOMPARE(m_fx.keychain.readCalls, 1);
        QCOMPARE(codesSpy.count(), 2); // at 60 and 90 s
        QVERIFY(store.codes().contains(id));

        m_fx.keychain.state = state;
        m_fx.keychain.readCalls = 0;
        TokenStore &restarted = m_fx.restart();
        for (m_fx.clock.now = 59; m_fx.clock.now < 119; m_fx.clock.now += 0.5)
            restarted.refreshCodes(m_fx.clock.now);
        QCOMPARE(m_fx.keychain.readCalls, 6);
        QTEST(m_fx.keychain.unlockCalls, "unlocks");
        QVERIFY(restarted.codes().isEmpty());
        m_fx.keychain.items[id] = rfcSecret;
        m_fx.keychain.state = KeychainStore::Status::Available;
        Q_EMIT m_fx.keychain.changed();
        QCOMPARE(m_fx.keychain.readCalls, 7);
        QVERIFY(restarted.codes().contains(id));
    }

    // What an add stored without listing it goes: cut off by a kill before the list was saved
    // (found by the next start), or stored by a stalled keychain after the add gave up on it
    // (removed on the keychain's late word).
    void unlistedAddsLeaveNoItem_data()
    {
        QTest::addColumn<bool>("killed");
        QTest::newRow("killed between keychain and list") << true;
        QTest::newRow("late answer after the bound") << false;
    }
    void unlistedAddsLeaveNoItem()
    {
        QFETCH(bool, killed);
        TokenStore &store = m_fx.storeWith(1);
        m_fx.keychain.holdSaves = killed;
        if (!killed) {
            m_fx.keychain.state = KeychainStore::Status::Unreachable;
            m_fx.keychain.saveFailure = KeychainError(u"g-io-error-quark"_s, 24, u"钥匙串服务没有响应"_s);
        }
        std::optional<AddResult> answer;
        store.add({u"b"_s, {}, otherSecret, 30, 6}, [&](const AddResult &result) { answer = result; });
        if (killed) // a second add while the first is still in flight
            store.add({u"c"_s, {}, StoreFixture::secret(7), 30, 6}, [](const AddResult &) {});
        const QString journal = u"totp.pendingAdds"_s;
        const QStringList journaled = m_fx.settings.reopen()->value(journal).toStringList();
        QCOMPARE(journaled.size(), killed ? 2 : 1);
        const QUuid id = QUuid::fromString(journaled.value(0));
        QVERIFY(!id.isNull());
        if (killed) {
            m_fx.store.reset();
            m_fx.keychain.answerHeld(); // the keychain stores it all the same
            m_fx.restart();
        } else {
            QVERIFY(answer && !*answer);
            m_fx.keychain.state = KeychainStore::Status::Available;
            m_fx.keychain.items.insert(id, otherSecret);
            Q_EMIT m_fx.keychain.changed();
        }
        QCOMPARE(m_fx.keychain.items.keys(), QList{m_fx.account(u"A"_s).id});
        QCOMPARE(m_fx.storedNames(), QStringList{u"A"_s});
        QVERIFY(!m_fx.settings.reopen()->contains(journal));
    }

    // Nothing irreversible happens before the list is saved; a change it cannot save is undone.
    void unsavedChangesAreUndone_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("undone");
        const QStringList both{u"A"_s, u"B"_s};
        QTest::newRow("rename") << u"rename"_s << both << u"名称没有修改。"_s;
        QTest::newRow("delete keeps the secret") << u"delete"_s << both << u"账户没有删除。"_s;
        QTest::newRow("move") << u"move"_s << both << u"顺序没有改变。"_s;
        QTest::newRow("undo stays pending") << u"undo"_s << QStringList{u"B"_s} << u"可以再次撤销。"_s;
        QTest::newRow("note") << u"note"_s << both << u"备注没有修改。"_s;
        QTest::newRow("favourite") << u"favourite"_s << both << u"收藏没有改变。"_s;
    }
    void unsavedChangesAreUndone()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, listed);
        TempSettings settings;
        TokenStore store(m_fx.keychain, settings.settings(), m_fx.clock.function(), m_fx.clock.singleShot());
        QVERIFY(added(store, {u"A"_s, {}, rfcSecret, 30, 6}) && added(store, {u"B"_s, {}, otherSecret, 30, 6}));
        const TokenAccount a = store.accounts().first();
        if (change == u"undo")
            store.requestDelete(a);
        // The settings cannot be written: where the file was, a folder.
        QVERIFY(QFile::remove(settings.fileName()) && QDir().mkdir(settings.fileName()));
        QSignalSpy refusals(&store, &TokenStore::changeNotSaved);
        if (change == u"rename")
            QVERIFY(!store.update(a, u"New"_s, {}));
        else if (change == u"delete")
            store.requestDelete(a);
        else if (change == u"move")
            store.move(a, 1);
        else if (change == u"note")
            QVERIFY(!store.setNote(a.id, u"kept"_s) && store.accounts().first().note.isEmpty());
        else if (change == u"favourite")
            QVERIFY(!store.toggleFavourite(a.id) && !store.accounts().first().favourite);
        else
            store.undoDelete();
        QCOMPARE(StoreFixture::names(store.accounts()), listed);
        QCOMPARE(store.pendingDeletion().has_value(), listed.size() == 1);
        QVERIFY(m_fx.keychain.items.contains(a.id));
        QCOMPARE(refusals.size(), 1);
        QVERIFY(refusals.first().first().toString().startsWith(u"无法保存账户列表："_s));
        QFETCH(QString, undone);
        QVERIFY(refusals.first().first().toString().endsWith(undone));
        QVERIFY(QDir().rmdir(settings.fileName())); // writable again: changes are saved again
        store.preferences().setClipboardClearDelay(5); // writes the settings file without a list change
        QCOMPARE(
            StoreFixture::names(*TokenAccount::decodeList(settings.reopen()->value(u"totp.accounts"_s).toByteArray())),
            QStringList({u"A"_s, u"B"_s}).mid(change == u"undo" ? 1 : 0));
        QVERIFY(store.update(store.accounts().last(), u"New"_s, {}));
    }

    // A note, a favourite, an icon from a file and the groups of an import stay after a restart;
    // a file that cannot be an icon is refused and changes nothing.
    void detailsAreKept()
    {
        QTemporaryDir dir;
        TokenStore &store = m_fx.storeWith(2);
        const QUuid a = store.accounts().first().id;
        ImportedToken grouped{u"C"_s, {}, otherSecret};
        grouped.groups = {{QUuid::createUuid(), u"Work"_s}, {QUuid(), u"Home"_s}};
        QSignalSpy groupsChanged(&store, &TokenStore::groupsChanged);
        QCOMPARE(addedAll(store, {grouped}).added.size(), 1);
        QCOMPARE(groupsChanged.size(), 1);
        QVERIFY(store.setNote(a, u"  recovery codes in the safe "_s) && store.toggleFavourite(a));
        QFile picture(dir.filePath(u"icon.svg"_s)), script(dir.filePath(u"script.svg"_s));
        QVERIFY(picture.open(QIODevice::WriteOnly) && script.open(QIODevice::WriteOnly));
        picture.write("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\" height=\"8\"/>");
        script.write("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\" height=\"8\"><script/></svg>");
        picture.close();
        script.close();
        using Done = std::expected<void, StoreError>;
        QVERIFY(awaitKeychain<Done>([&](auto done) { store.setIcon(a, picture.fileName(), done); }));
        const Done refused = awaitKeychain<Done>([&](auto done) { store.setIcon(a, script.fileName(), done); });
        QVERIFY(!refused && refused.error() == StoreError(IconError()));
        const auto path = store.iconPath(store.accounts().first());
        QVERIFY(path && QFile::exists(*path) && !store.iconPath(store.accounts().last()));
        TokenStore &restarted = m_fx.restart();
        const TokenAccount first = restarted.accounts().first();
        QCOMPARE(first.note, u"recovery codes in the safe"_s);
        QVERIFY(first.favourite && restarted.iconPath(first) == path);
        QCOMPARE(restarted.groups().size(), 2);
        QCOMPARE(restarted.groups().first(), grouped.groups.first());
        QCOMPARE(restarted.accounts().last().groups.size(), 2);
        QVERIFY(restarted.accounts().last().matches(u"home"_s, restarted.groups()));
        QVERIFY(restarted.removeIcon(a) && !restarted.accounts().first().icon);
        QVERIFY(QFile::remove(*path));
    }

    // A stopped import keeps what its finished batches listed and saved, and tries no more.
    void importRunStopsBetweenBatches()
    {
        TokenStore &store = m_fx.storeWith(0);
        QList<ImportedToken> tokens;
        for (int i = 1; i <= 25; ++i)
            tokens.append({QString::number(i), {}, StoreFixture::secret(i), 30, 6});
        ImportRun run(store, tokens);
        connect(&run, &ImportRun::progressed, &run, &ImportRun::stop);
        QSignalSpy finished(&run, &ImportRun::finished);
        run.start();
        QVERIFY(finished.wait());
        const auto summary = finished.first().first().value<ImportSummary>();
        QCOMPARE(summary.added.size(), ImportRun::batchSize);
        QCOMPARE(summary.notTried, tokens.size() - ImportRun::batchSize);
        QCOMPARE(m_fx.storedNames().size(), ImportRun::batchSize);
    }

    // Every batch's accounts count in the summary: added, already listed or refused.
    void importRunSumsEveryBatch()
    {
        TokenStore &store = m_fx.storeWith(1);
        QList<ImportedToken> tokens;
        for (int i = 1; i <= 25; ++i)
            tokens.append({QString::number(i), {}, i % 10 == 3 ? u"0189"_s : StoreFixture::secret(i), 30, 6});
        tokens[14].secret = StoreFixture::secret(0); // the listed account's
        ImportRun run(store, tokens);
        QSignalSpy finished(&run, &ImportRun::finished);
        run.start();
        QVERIFY(finished.wait());
        const auto summary = finished.first().first().value<ImportSummary>();
        QCOMPARE(summary.refused.size(), 3);
        QCOMPARE(summary.alreadyPresent, 1);
        QCOMPARE(summary.added.size(), 21);
    }

    // A keychain that stops answering mid-import pauses it; once it answers again every
    // account is added, none refused and none counted twice.
    void importRunWaitsOutAStalledKeychain()
    {
        TokenStore &store = m_fx.storeWith(0);
        QList<ImportedToken> tokens;
        for (int i = 1; i <= 25; ++i)
            tokens.append({QString::number(i), {}, StoreFixture::secret(i), 30, 6});
        ImportRun run(store, tokens);
        QSignalSpy paused(&run, &ImportRun::pausedChanged);
        QSignalSpy finished(&run, &ImportRun::finished);
        connect(&run, &ImportRun::progressed, this, [this](qsizetype tried) {
            if (tried == ImportRun::batchSize) {
                m_fx.keychain.state = KeychainStore::Status::Unreachable;
                m_fx.keychain.saveFailure = KeychainError(u"test"_s, 1, u"timed out"_s);
            }
        });
        run.start();
        QVERIFY(paused.wait());
        QCOMPARE(paused.first().first().toBool(), true);
        m_fx.keychain.state = KeychainStore::Status::Available;
        m_fx.keychain.saveFailure.reset();
        QVERIFY(finished.wait());
        QCOMPARE(paused.last().first().toBool(), false);
        const auto summary = finished.first().first().value<ImportSummary>();
        QCOMPARE(summary.added.size(), tokens.size());
        QCOMPARE(summary.refused.size(), 0);
        QCOMPARE(summary.alreadyPresent, 0);
        QCOMPARE(m_fx.storedNames().size(), tokens.size());
    }

    // An add lists, saves and shows the account once the keychain holds its secret; the same
    // secret pasted meanwhile is the same account, found in memory.
    void addWaitsForTheKeychain()
    {
        TokenStore &store = m_fx.restart();
        QSignalSpy accountsSpy(&store, &TokenStore::accountsChanged);
        QSignalSpy codesSpy(&store, &TokenStore::codesChanged);
        QStringList codesWithTheList; // the panel lays the list out once, with its codes
        const QObject scope;
        connect(&store, &TokenStore::accountsChanged, &scope, [&] { codesWithTheList = store.codes().values(); });
        m_fx.keychain.holdSaves = true;
        QList<AddResult> answers;
        for (const QString &secret : {rfcSecret, u"gezd gnbv-gy3t qojq gezd gnbv gy3t qojq"_s})
            store.quickAdd(secret, [&](const AddResult &added) { answers << added; });
        QCOMPARE(answers.size(), 1); // the second found the first under way
        QVERIFY(store.accounts().isEmpty());
        m_fx.keychain.answerHeld();
        QCOMPARE(answers.size(), 2);
        QCOMPARE(answers.at(0)->id, answers.at(1)->id);
        QCOMPARE(m_fx.storedNames(), QStringList{u"验证码"_s});
        QCOMPARE(store.codes().value(answers.at(0)->id), u"287082"_s);
        QCOMPARE(accountsSpy.count(), 1);
        QCOMPARE(codesSpy.count(), 1);
        QCOMPARE(codesWithTheList, QStringList{u"287082"_s});

        m_fx.keychain.holdSaves = false;
        QCOMPARE(added(store, {u"b"_s, {}, otherSecret, 30, 6})->name, u"b"_s); // no duplicate check
        m_fx.keychain.items.clear();
        const int saves = m_fx.keychain.saveCalls;
        QCOMPARE(*quickAdded(store, otherSecret.toLower()), store.accounts().last());
        QCOMPARE(m_fx.keychain.saveCalls, saves);
        QCOMPARE(m_fx.keychain.readCalls, 1);
    }

    void failedAddChangesNothing()
    {
        TokenStore &store = m_fx.storeWith(1);
        QSignalSpy accountsSpy(&store, &TokenStore::accountsChanged);
        QCOMPARE(added(store, {u"b"_s, {}, u"0189"_s, 30, 6}).error().description(),
                 u"密钥格式不正确，请使用 Base32 密钥。"_s);
        QCOMPARE(m_fx.keychain.saveCalls, 1);
        m_fx.keychain.saveFailure = KeychainError(u"secret-error"_s, 2, u"钥匙串已锁定"_s);
        QCOMPARE(quickAdded(store, otherSecret).error().description(), u"钥匙串已锁定"_s);
        const ImportSummary locked = addedAll(store, {{u"c"_s, {}, u"MFRGGZDFMZTWQ2LK"_s, 30, 6}});
        QCOMPARE(locked.refused.front().reason, u"钥匙串已锁定"_s);
        QCOMPARE(m_fx.keychain.unlockCalls, 0); // the person unlocks through "解锁并添加"
        QCOMPARE(accountsSpy.count(), 0);
        QCOMPARE(m_fx.storedNames(), QStringList{u"A"_s});
    }

    void addAllSavesOnce()
    {
        TokenStore &store = m_fx.storeWith(1);
        QSignalSpy accountsSpy(&store, &TokenStore::accountsChanged);
        const ImportSummary summary = addedAll(store, {
                                                          {u"b"_s, u"Ex"_s, otherSecret, 30, 6},
                                                          {u"listed"_s, {}, rfcSecret, 30, 6},
                                                          {{}, {}, u"ONSWG4TFOQQGC3TE"_s, 60, 8},
                                                      });
        QCOMPARE(StoreFixture::names(summary.added), (QStringList{u"b"_s, u"验证码"_s}));
        QCOMPARE(summary.alreadyPresent, 1);
        QCOMPARE(accountsSpy.count(), 1);
        QCOMPARE(m_fx.storedNames(), (QStringList{u"A"_s, u"b"_s, u"验证码"_s}));
        QCOMPARE(store.codes().size(), 3);
    }

    // The journal entry is written before the keychain is asked; the list that names the
    // account, with the entry struck, is the one write after it.
    void pasteAddWritesTheSettingsTwice()
    {
        static int writes = 0;
        static const QSettings::Format counted = QSettings::registerFormat(
            u"counted"_s,
            [](QIODevice &device, QSettings::SettingsMap &map) {
                QDataStream stream(&device);
                stream >> map;
                return true;
            },
            [](QIODevice &device, const QSettings::SettingsMap &map) {
                ++writes;
                QDataStream stream(&device);
                stream << map;
                return true;
            });
        const QTemporaryDir dir;
        QSettings settings(dir.filePath(u"Corvane.counted"_s), counted);
        TokenStore store(m_fx.keychain, settings, m_fx.clock.function());
        writes = 0;
        QVERIFY(quickAdded(store, rfcSecret));
        QCOMPARE(writes, 2);
        const QSettings stored(settings.fileName(), counted);
        QCOMPARE(TokenAccount::decodeList(stored.value(u"totp.accounts"_s).toByteArray())->size(), 1);
        QVERIFY(!stored.contains(u"totp.pendingAdds"_s));
    }

    // A list that cannot be saved takes back out exactly the accounts of that add, with their
    // secrets, and keeps those listed before.
    void failedListSaveTakesBackItsAccounts_data()
    {
        QTest::addColumn<bool>("whileStoring"); // the settings became unwritable while the keychain stored
        QTest::newRow("before the add") << false;
        QTest::newRow("while the keychain stores") << true;
    }
    void failedListSaveTakesBackItsAccounts()
    {
        QFETCH(bool, whileStoring);
        const QTemporaryDir dir;
        const QString folder = dir.filePath(u"config"_s);
        QSettings settings(folder + u"/Corvane.conf"_s, QSettings::IniFormat);
        TokenStore store(m_fx.keychain, settings, m_fx.clock.function());
        const auto kept = quickAdded(store, rfcSecret);
        QVERIFY(kept);
        QFile blocker(folder); // a file where the settings folder was
        const auto block = [&] { return QDir(folder).removeRecursively() && blocker.open(QIODevice::WriteOnly); };
        QVERIFY(whileStoring || block());
        m_fx.keychain.holdSaves = whileStoring;
        std::optional<ImportSummary> answer;
        store.addAll({{u"b"_s, {}, otherSecret, 30, 6}, {u"c"_s, {}, u"MFRGGZDF"_s, 30, 6}},
                     [&](const ImportSummary &summary) { answer = summary; });
        if (whileStoring) {
            QVERIFY(block());
            m_fx.keychain.holdSaves = false;
            m_fx.keychain.answerHeld();
        }
        QVERIFY(answer);
        const ImportSummary &refused = *answer;
        QVERIFY(refused.added.isEmpty());
        QVERIFY(refused.refused.front().reason.startsWith(u"无法保存账户列表："_s));
        QCOMPARE(store.accounts(), QList{*kept});
        QCOMPARE(m_fx.keychain.items.keys(), QList{kept->id});
    }

    // The counter moves on and is saved before its code is given; a save that fails gives no
    // code and leaves the counter. Codes: `oathtool --hotp -b -c N JBSWY3DPEHPK3PXP`.
    void counterAdvancesOnlyWhenSaved()
    {
        TempSettings settings; // its own: a settings file made unwritable stays in error
        std::unique_ptr<QSettings> reopened; // what a restart reads
        auto store = std::make_unique<TokenStore>(m_fx.keychain, settings.settings(), m_fx.clock.function());
        QVERIFY(added(*store, {u"H"_s, {}, u"JBSWY3DPEHPK3PXP"_s, {.kind = OtpKind::Hotp, .counter = 9}}));
        const QUuid id = store->accounts().first().id;
        const auto counter = [&store] { return store->accounts().first().otp.counter; };
        store->refreshCodes(1'700'000'000);
        QVERIFY(!store->codes().contains(id)); // no code until one is asked for

        QCOMPARE(store->nextCode(id), u"924769"_s);
        QCOMPARE(counter(), 10u);
        QCOMPARE(store->codes().value(id), u"924769"_s);
        store->refreshCodes(1'700'000'100); // time moves nothing
        QCOMPARE(store->codes().value(id), u"924769"_s);

        // The settings cannot be written: where the file was, a folder.
        QVERIFY(QFile::remove(settings.fileName()) && QDir().mkdir(settings.fileName()));
        QSignalSpy refusals(store.get(), &TokenStore::changeNotSaved);
        QCOMPARE(store->nextCode(id), std::nullopt);
        QCOMPARE(counter(), 10u);
        QCOMPARE(refusals.size(), 1);
        QVERIFY(refusals.first().first().toString().endsWith(u"没有显示验证码。"_s));
        QVERIFY(QDir().rmdir(settings.fileName()));

        QCOMPARE(store->nextCode(id), u"930313"_s);
        store->hideCounterCodes();
        QVERIFY(!store->codes().contains(id));
        // Corrected by hand, to meet the service again.
        QVERIFY(store->update(store->accounts().first(), u"H"_s, {}, 5));
        store.reset();
        reopened = settings.reopen();
        store = std::make_unique<TokenStore>(m_fx.keychain, *reopened, m_fx.clock.function());
        QCOMPARE(counter(), 5u);
        QCOMPARE(store->nextCode(id), u"768897"_s);
        QCOMPARE(counter(), 6u);
    }

    void updateTrims()
    {
        TokenStore &store = m_fx.storeWith(2);
        const TokenAccount before = m_fx.account(u"B"_s);
        QSignalSpy accountsSpy(&store, &TokenStore::accountsChanged);
        store.update(before, u" \u202E\u0000 "_s, u"  Git\u2066Hub\u0085 \n"_s);
        QCOMPARE(store.accounts().at(1).name, u"验证码"_s);
        QCOMPARE(store.accounts().at(1).issuer, u"GitHub"_s);
        QCOMPARE(accountsSpy.count(), 2);
        QCOMPARE(m_fx.storedNames(), m_fx.names());
        store.update({QUuid::createUuid(), u"x"_s, {}, 30, 6}, u"y"_s, {});
        QCOMPARE(accountsSpy.count(), 2);
    }

    // A move by an offset, or before another account (an empty `before`: by the offset).
    void move_data()
    {
        QTest::addColumn<QString>("moved");
        QTest::addColumn<qint64>("by");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("order");
        QTest::newRow("top up") << u"A"_s << qint64(-1) << QString() << u"ABC"_s;
        QTest::newRow("bottom down") << u"C"_s << qint64(1) << QString() << u"ABC"_s;
        QTest::newRow("top down") << u"A"_s << qint64(1) << QString() << u"BAC"_s;
        QTest::newRow("bottom far up") << u"C"_s << qint64(-99) << QString() << u"CAB"_s;
        QTest::newRow("huge") << u"A"_s << std::numeric_limits<qint64>::max() << QString() << u"BCA"_s;
        QTest::newRow("huge negative") << u"B"_s << std::numeric_limits<qint64>::min() << QString() << u"BAC"_s;
        QTest::newRow("down onto last") << u"A"_s << qint64(0) << u"C"_s << u"BAC"_s;
        QTest::newRow("up onto first") << u"C"_s << qint64(0) << u"A"_s << u"CAB"_s;
        QTest::newRow("onto itself") << u"B"_s << qint64(0) << u"B"_s << u"ABC"_s;
        QTest::newRow("unknown target") << u"B"_s << qint64(0) << u"?"_s << u"ABC"_s;
    }
    void move()
    {
        QFETCH(QString, moved);
        QFETCH(qint64, by);
        QFETCH(QString, before);
        QFETCH(QString, order);
        TokenStore &store = m_fx.storeWith(3);
        m_fx.settings.settings().remove(u"totp.accounts"_s);
        QSignalSpy accountsSpy(&store, &TokenStore::accountsChanged);
        if (before.isEmpty())
            store.move(m_fx.account(moved), by);
        else
            store.move(m_fx.account(moved).id, before == u"?"_s ? QUuid::createUuid() : m_fx.account(before).id);
        QCOMPARE(m_fx.names().join(QString()), order);
        const bool changed = order != u"ABC"_s;
        // Before another account the row is taken out and put back: two signals.
        QCOMPARE(accountsSpy.count(), int(changed) * (before.isEmpty() ? 1 : 2));
        QCOMPARE(m_fx.settings.settings().contains(u"totp.accounts"_s), changed);
        if (changed)
            QCOMPARE(m_fx.storedNames().join(QString()), order);
    }

    void undoRestoresPositionAndCode()
    {
        TokenStore &store = m_fx.storeWith(3);
        const TokenAccount b = m_fx.account(u"B"_s);
        const QString code = store.codes().value(b.id);
        store.requestDelete(b);
        QCOMPARE(store.pendingDeletion(), PendingDeletion({b, 1}));
        QVERIFY(!store.codes().contains(b.id));
        QCOMPARE(m_fx.storedNames(), QStringList({u"A"_s, u"C"_s}));
        const int reads = m_fx.keychain.readCalls;
        store.undoDelete();
        QCOMPARE(m_fx.names(), QStringList({u"A"_s, u"B"_s, u"C"_s}));
        QCOMPARE(store.codes().value(b.id), code);
        QCOMPARE(m_fx.keychain.readCalls, reads); // served from the cache

        // Undo after the list changed: the remembered place, or the end of a shorter list.
        store.requestDelete(m_fx.account(u"C"_s));
        store.move(m_fx.account(u"B"_s), -1);
        store.undoDelete();
        QCOMPARE(m_fx.names(), QStringList({u"B"_s, u"A"_s, u"C"_s}));
    }

    void secondDeletionFinalizesFirst()
    {
        TokenStore &store = m_fx.storeWith(3);
        const TokenAccount a = m_fx.account(u"A"_s), c = m_fx.account(u"C"_s);
        store.requestDelete(c);
        store.requestDelete(a);
        QVERIFY(!m_fx.keychain.items.contains(c.id));
        QVERIFY(m_fx.keychain.items.contains(a.id));
        store.undoDelete();
        QCOMPARE(m_fx.names(), QStringList({u"A"_s, u"B"_s}));

        // A request for an account no longer listed still finalises the pending one.
        store.requestDelete(a);
        store.requestDelete(c);
        QVERIFY(!store.pendingDeletion());
        QVERIFY(!m_fx.keychain.items.contains(a.id));
    }

    void undoWindowClosesAtFiveSeconds()
    {
        TokenStore &store = m_fx.storeWith(2);
        const TokenAccount a = m_fx.account(u"A"_s), b = m_fx.account(u"B"_s);
        store.requestDelete(a);
        m_fx.clock.advance(4.9);
        store.undoDelete();
        QCOMPARE(m_fx.names(), QStringList({u"A"_s, u"B"_s}));

        store.requestDelete(b);
        m_fx.clock.advance(0.2); // the undone deletion's window closes nothing
        QVERIFY(store.pendingDeletion());
        m_fx.clock.advance(4.8);
        QVERIFY(!store.pendingDeletion());
        QVERIFY(!m_fx.keychain.items.contains(b.id));
    }

    // A deletion cut short leaves its id recorded, and the next start removes the secret; the
    // record goes only once the item is gone, and only the latest deletion's.
    void recordedDeletionIsFinishedAtStart_data()
    {
        QTest::addColumn<QString>("cut");
        QTest::newRow("killed in the undo window") << u"killed"_s;
        QTest::newRow("list unreadable at the restart") << u"unreadable"_s;
        QTest::newRow("keychain locked at the final deletion") << u"locked"_s;
        QTest::newRow("late answer to an earlier deletion") << u"late"_s;
    }

    void recordedDeletionIsFinishedAtStart()
    {
        QFETCH(QString, cut);
        TokenStore &store = m_fx.storeWith(3);
        const TokenAccount a = m_fx.account(u"A"_s), b = m_fx.account(u"B"_s);
        m_fx.keychain.holdRemovals = cut == u"late"_s;
        if (cut == u"late"_s)
            store.requestDelete(m_fx.account(u"C"_s)); // its removal answers once B's deletion began
        if (cut == u"locked"_s)
            m_fx.keychain.state = KeychainStore::Status::Locked;
        store.requestDelete(b);
        if (cut == u"locked"_s)
            store.finalizePendingDeletion();
        m_fx.keychain.answerHeld();
        QVERIFY(m_fx.keychain.items.contains(b.id));
        m_fx.store.reset(); // killed: no final deletion
        m_fx.keychain.state = KeychainStore::Status::Available;
        m_fx.keychain.holdRemovals = false;
        if (cut == u"unreadable"_s)
            m_fx.settings.settings().setValue(u"totp.accounts"_s, "[{"_ba);
        m_fx.restart();
        QCOMPARE(m_fx.keychain.items.contains(b.id), cut == u"unreadable"_s);
        QCOMPARE(m_fx.settings.settings().contains(u"totp.pendingDeletion"_s), cut == u"unreadable"_s);
        QVERIFY(m_fx.keychain.items.contains(a.id));
    }

    void unreadableListIsKeptAside()
    {
        const QByteArray unreadable = R"([{"id":"6BA7B810-9DAD-11D1-80B4-00C04FD430C8","name":"lost"}])";
        const QDir dir(m_fx.settings.directory());
        const QStringList pattern{u"accounts-unreadable-*.json"_s};
        for (int run = 1; run <= 2; ++run) {
            m_fx.settings.settings().setValue(u"totp.accounts"_s, unreadable);
            TokenStore &store = m_fx.restart();
            QVERIFY(store.accounts().isEmpty());
            QCOMPARE(dir.entryList(pattern, QDir::Files).size(), run - 1);
            QVERIFY(quickAdded(store, rfcSecret));
            store.requestDelete(store.accounts().first()); // saves again: no second copy
            const QStringList copies = dir.entryList(pattern, QDir::Files);
            QCOMPARE(copies.size(), run);
            for (const QString &copy : copies) {
                QFile file(dir.filePath(copy));
                QVERIFY(file.open(QIODevice::ReadOnly));
                QCOMPARE(file.readAll(), unreadable);
            }
            QCOMPARE(m_fx.settings.reopen()->value(u"totp.accounts"_s).toByteArray(), "[]"_ba);
        }
    }
};

QTEST_GUILESS_MAIN(TestTokenStore)
#include "tst_tokenstore.moc"
