#include "FakeClock.h"
#include "MemoryKeychain.h"
#include "TempSettings.h"
#include "TokenStore.h"

#include <QDir>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

// RFC 6238's SHA-1 key in Base32; its 6-digit codes are the RFC's 8-digit values cut.
const QString rfcSecret = u"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ"_s;
const QString otherSecret = u"JBSWY3DPEHPK3PXPJBSWY3DPEHPK3PXP"_s;

QStringList names(const QList<TokenAccount> &accounts)
{
    QStringList result;
    for (const TokenAccount &account : accounts)
        result << account.name;
    return result;
}

} // namespace

class TestTokenStore : public QObject
{
    Q_OBJECT

private:
    TempSettings m_settings;
    MemoryKeychain m_keychain;
    FakeClock m_clock;
    std::unique_ptr<TokenStore> m_store;

    TokenStore &newStore()
    {
        m_store.reset();
        m_store = std::make_unique<TokenStore>(m_keychain, m_settings.settings(), m_clock.function());
        return *m_store;
    }
    // A store listing accounts with the given names, each with its own valid secret.
    TokenStore &storeWith(const QStringList &accountNames)
    {
        m_settings.settings().clear();
        TokenStore &store = newStore();
        for (const QString &name : accountNames) {
            const QString secret = rfcSecret.left(30) + QChar(char16_t(u'A' + store.accounts().size()));
            if (!store.add({name, {}, secret, 30, 6}))
                qFatal("cannot add %s", qPrintable(name));
        }
        return store;
    }
    const TokenAccount &account(const QString &name)
    {
        for (const TokenAccount &account : m_store->accounts()) {
            if (account.name == name)
                return account;
        }
        qFatal("no account named %s", qPrintable(name));
    }

private Q_SLOTS:
    void init();
    void startsWithDefaultsAndWritesNothing();
    void snapsStoredOpacity_data();
    void snapsStoredOpacity();
    void loadsClearDelayUnchecked_data();
    void loadsClearDelayUnchecked();
    void persistsSettingsOnlyWhenAsked();
    void refreshFollowsTimeSteps();
    void refreshWithinStepIsQuiet();
    void refreshUsesPerAccountPeriods();
    void missingSecretIsRetried();
    void cachedSecretOutlivesItemUntilRestart();
    void unusableAccountsGetNoCode_data();
    void unusableAccountsGetNoCode();
    void addUsesDefaultsAndKeepsName_data();
    void addUsesDefaultsAndKeepsName();
    void failedAddChangesNothing();
    void quickAddRejectsShortOrNonBase32_data();
    void quickAddRejectsShortOrNonBase32();
    void quickAddNamesAndAppends();
    void quickAddFindsDuplicateInKeychain();
    void updateTrims();
    void moveBy_data();
    void moveBy();
    void moveBefore_data();
    void moveBefore();
    void undoRestoresPositionAndCode();
    void undoAfterMoveAndShrink();
    void secondDeletionFinalizesFirst();
    void undoWindowClosesAtFiveSeconds();
    void unreadableListIsKeptAside();
};

void TestTokenStore::init()
{
    m_store.reset();
    m_settings.settings().clear();
    m_settings.settings().sync();
    m_keychain = MemoryKeychain();
    m_clock.now = 59;
}

void TestTokenStore::startsWithDefaultsAndWritesNothing()
{
    TokenStore &store = newStore();
    QVERIFY(store.accounts().isEmpty());
    QCOMPARE(store.clipboardClearDelay(), 60);
    QCOMPARE(store.panelOpacity(), 0.82);
    QVERIFY(m_settings.settings().allKeys().isEmpty());
    QCOMPARE(m_keychain.loadAllCalls, 0);
}

void TestTokenStore::snapsStoredOpacity_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<double>("loaded");
    QTest::newRow("0.7") << QVariant(0.7) << 0.6;
    QTest::newRow("0.71 tie goes lower") << QVariant(0.71) << 0.6;
    QTest::newRow("0.95") << QVariant(0.95) << 1.0;
    QTest::newRow("0.3") << QVariant(0.3) << 0.6;
    QTest::newRow("5.0") << QVariant(5.0) << 1.0;
    QTest::newRow("0.82") << QVariant(0.82) << 0.82;
}

void TestTokenStore::snapsStoredOpacity()
{
    QFETCH(QVariant, stored);
    QFETCH(double, loaded);
    m_settings.settings().setValue(u"totp.panelOpacity"_s, stored);
    QCOMPARE(newStore().panelOpacity(), loaded);
}

void TestTokenStore::loadsClearDelayUnchecked_data()
{
    QTest::addColumn<qint64>("stored");
    QTest::newRow("45") << qint64(45);
    QTest::newRow("negative") << qint64(-3);
    QTest::newRow("never") << qint64(0);
}

void TestTokenStore::loadsClearDelayUnchecked()
{
    QFETCH(qint64, stored);
    m_settings.settings().setValue(u"totp.clipboardClearDelay"_s, stored);
    QCOMPARE(newStore().clipboardClearDelay(), stored);
}

void TestTokenStore::persistsSettingsOnlyWhenAsked()
{
    TokenStore &store = newStore();
    QSignalSpy opacitySpy(&store, &TokenStore::panelOpacityChanged);
    store.setPanelOpacity(1.0);
    store.setClipboardClearDelay(15);
    QCOMPARE(opacitySpy.count(), 1);
    QVERIFY(m_settings.reopen()->allKeys().isEmpty());
    store.persistSettings();
    const auto reopened = m_settings.reopen();
    QCOMPARE(reopened->value(u"totp.panelOpacity"_s).toDouble(), 1.0);
    QCOMPARE(reopened->value(u"totp.clipboardClearDelay"_s).toLongLong(), 15);
}

void TestTokenStore::refreshFollowsTimeSteps()
{
    m_keychain.items.clear();
    TokenStore &store = storeWith({u"a"_s});
    const QUuid id = store.accounts().first().id;
    m_keychain.items[id] = rfcSecret;
    m_store.reset();
    TokenStore &restarted = newStore();

    restarted.refreshCodes(59.9);
    QCOMPARE(restarted.codes().value(id), u"287082"_s);
    restarted.refreshCodes(60.0);
    const QString second = restarted.codes().value(id);
    QVERIFY(second != u"287082"_s);
    restarted.refreshCodes(59.9); // the clock went back
    QCOMPARE(restarted.codes().value(id), u"287082"_s);
    restarted.refreshCodes(1111111109);
    QCOMPARE(restarted.codes().value(id), u"081804"_s);
}

void TestTokenStore::refreshWithinStepIsQuiet()
{
    TokenStore &store = storeWith({u"a"_s, u"b"_s});
    store.refreshCodes(60);
    QSignalSpy codesSpy(&store, &TokenStore::codesChanged);
    const int loads = m_keychain.loadCalls;
    store.refreshCodes(60.5);
    store.refreshCodes(89.99);
    QCOMPARE(codesSpy.count(), 0);
    QCOMPARE(m_keychain.loadCalls, loads);
    store.refreshCodes(90);
    QCOMPARE(codesSpy.count(), 1);
}

void TestTokenStore::refreshUsesPerAccountPeriods()
{
    TokenStore &store = newStore();
    QVERIFY(store.add({u"thirty"_s, {}, rfcSecret, 30, 6}));
    QVERIFY(store.add({u"sixty"_s, {}, rfcSecret, 60, 6}));
    const QUuid thirty = account(u"thirty"_s).id, sixty = account(u"sixty"_s).id;
    store.refreshCodes(45);
    const QString thirtyAt45 = store.codes().value(thirty), sixtyAt45 = store.codes().value(sixty);
    QCOMPARE(thirtyAt45, u"287082"_s); // counter 1
    QVERIFY(sixtyAt45 != thirtyAt45);  // counter 0
    store.refreshCodes(60);
    QVERIFY(store.codes().value(thirty) != thirtyAt45);
    QVERIFY(store.codes().value(sixty) != sixtyAt45);
    QCOMPARE(store.codes().value(sixty), thirtyAt45); // counter 1 for the 60-second account
}

void TestTokenStore::missingSecretIsRetried()
{
    storeWith({u"a"_s});
    m_keychain.items.clear();
    TokenStore &store = newStore();
    QVERIFY(store.codes().isEmpty());
    const int loads = m_keychain.loadCalls;
    store.refreshCodes(59.5);
    store.refreshCodes(59.6);
    QCOMPARE(m_keychain.loadCalls, loads + 2);
    m_keychain.items[store.accounts().first().id] = rfcSecret;
    store.refreshCodes(59.7);
    QCOMPARE(store.codes().value(store.accounts().first().id), u"287082"_s);
}

void TestTokenStore::cachedSecretOutlivesItemUntilRestart()
{
    TokenStore &store = storeWith({u"a"_s});
    const QUuid id = store.accounts().first().id;
    m_keychain.items.remove(id);
    store.refreshCodes(1111111109);
    QVERIFY(store.codes().contains(id));
    QVERIFY(!newStore().codes().contains(id));
}

void TestTokenStore::unusableAccountsGetNoCode_data()
{
    QTest::addColumn<qint64>("period");
    QTest::addColumn<qint64>("digits");
    QTest::addColumn<double>("date");
    QTest::newRow("period 0") << qint64(0) << qint64(6) << 59.0;
    QTest::newRow("negative period") << qint64(-30) << qint64(6) << 59.0;
    QTest::newRow("ten digits") << qint64(30) << qint64(10) << 59.0;
    QTest::newRow("date beyond 64-bit steps") << qint64(1) << qint64(6) << 1e300;
}

void TestTokenStore::unusableAccountsGetNoCode()
{
    QFETCH(qint64, period);
    QFETCH(qint64, digits);
    QFETCH(double, date);
    const TokenAccount odd{QUuid::createUuid(), u"odd"_s, {}, period, digits};
    const TokenAccount fine{QUuid::createUuid(), u"fine"_s, {}, 30, 6};
    m_settings.settings().setValue(u"totp.accounts"_s, TokenAccount::encodeList({odd, fine}));
    m_keychain.items = {{odd.id, rfcSecret}, {fine.id, rfcSecret}};
    TokenStore &store = newStore();
    store.refreshCodes(date);
    QVERIFY(!store.codes().contains(odd.id));
    QCOMPARE(store.codes().contains(fine.id), date < 1e18);
}

void TestTokenStore::addUsesDefaultsAndKeepsName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");
    QTest::newRow("empty name") << u""_s << u"验证码"_s;
    QTest::newRow("spaces kept") << u"  alice  "_s << u"  alice  "_s;
}

void TestTokenStore::addUsesDefaultsAndKeepsName()
{
    QFETCH(QString, name);
    QFETCH(QString, stored);
    TokenStore &store = newStore();
    QSignalSpy accountsSpy(&store, &TokenStore::accountsChanged);
    QSignalSpy codesSpy(&store, &TokenStore::codesChanged);
    QVERIFY(store.add({name, u"GitHub"_s, u"gezd gnbv-gy3t qojq gezd gnbv gy3t qojq=="_s, 30, 6}));
    const TokenAccount added = store.accounts().last();
    QCOMPARE(added.name, stored);
    QCOMPARE(added.issuer, u"GitHub"_s);
    QCOMPARE(m_keychain.items.value(added.id), rfcSecret);
    QCOMPARE(store.codes().value(added.id), u"287082"_s);
    QCOMPARE(accountsSpy.count(), 1);
    QCOMPARE(codesSpy.count(), 1);
    QCOMPARE(TokenAccount::decodeList(m_settings.reopen()->value(u"totp.accounts"_s).toByteArray()), store.accounts());
}

void TestTokenStore::failedAddChangesNothing()
{
    TokenStore &store = storeWith({u"a"_s});
    const QByteArray before = m_settings.settings().value(u"totp.accounts"_s).toByteArray();

    const auto invalid = store.add({u"b"_s, {}, u"not base32 0189"_s, 30, 6});
    QVERIFY(!invalid);
    QCOMPARE(invalid.error().description(), u"密钥格式不正确，请使用 Base32 密钥。"_s);

    m_keychain.saveFailure = KeychainError(u"secret-error"_s, 2, u"钥匙串已锁定"_s);
    const auto refused = store.add({u"b"_s, {}, otherSecret, 30, 6});
    QVERIFY(!refused);
    QCOMPARE(refused.error().description(), u"钥匙串已锁定"_s);
    QCOMPARE(names(store.accounts()), QStringList{u"a"_s});
    QCOMPARE(m_settings.settings().value(u"totp.accounts"_s).toByteArray(), before);
}

void TestTokenStore::quickAddRejectsShortOrNonBase32_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("15 characters") << u"GEZDGNBVGY3TQOJ"_s;
    QTest::newRow("otpauth link") << u"otpauth://totp/a?secret=GEZDGNBVGY3TQOJQGEZD"_s;
    QTest::newRow("digit 1") << u"GEZDGNBVGY3TQOJ1"_s;
}

void TestTokenStore::quickAddRejectsShortOrNonBase32()
{
    QFETCH(QString, text);
    TokenStore &store = newStore();
    const auto result = store.quickAdd(text);
    QVERIFY(!result);
    QVERIFY(result.error().isInvalidSecret());
    QCOMPARE(m_keychain.saveCalls + m_keychain.loadCalls + m_keychain.loadAllCalls, 0);
    QVERIFY(store.accounts().isEmpty());
}

void TestTokenStore::quickAddNamesAndAppends()
{
    TokenStore &store = newStore();
    const auto first = store.quickAdd(u"gezdgnbvgy3tqojq"_s);
    QVERIFY(first);
    QCOMPARE(first->name, u"验证码"_s);
    QCOMPARE(first->period, 30);
    QCOMPARE(first->digits, 6);
    QVERIFY(store.quickAdd(u"JBSWY3DPEHPK3PXP"_s));
    QVERIFY(store.quickAdd(u"MFRGGZDFMZTWQ2LK"_s));
    const auto fourth = store.quickAdd(u"ONSWG4TFOQQGC3TE"_s);
    QVERIFY(fourth);
    QCOMPARE(fourth->name, u"验证码 4"_s);
    QCOMPARE(store.accounts().last(), *fourth);
    QVERIFY(store.codes().contains(fourth->id));
}

void TestTokenStore::quickAddFindsDuplicateInKeychain()
{
    TokenStore &store = storeWith({u"a"_s});
    QVERIFY(store.add({u"b"_s, {}, otherSecret, 30, 6}));
    QSignalSpy accountsSpy(&store, &TokenStore::accountsChanged);
    const int saves = m_keychain.saveCalls;
    const auto found = store.quickAdd(u"jbsw y3dp ehpk 3pxp jbsw y3dp ehpk 3pxp"_s);
    QVERIFY(found);
    QCOMPARE(*found, account(u"b"_s));
    QCOMPARE(accountsSpy.count(), 0);
    QCOMPARE(m_keychain.saveCalls, saves);
    // The cache does not count: a secret gone from the keychain is added again.
    m_keychain.items.remove(found->id);
    const auto readded = store.quickAdd(otherSecret);
    QVERIFY(readded && readded->id != found->id);
}

void TestTokenStore::updateTrims()
{
    TokenStore &store = storeWith({u"a"_s, u"b"_s});
    const TokenAccount before = account(u"b"_s);
    QSignalSpy accountsSpy(&store, &TokenStore::accountsChanged);
    store.update(before, u"   "_s, u"  GitHub \n"_s);
    const TokenAccount after = store.accounts().at(1);
    QCOMPARE(after.name, u"验证码"_s);
    QCOMPARE(after.issuer, u"GitHub"_s);
    QCOMPARE(after.id, before.id);
    QCOMPARE(accountsSpy.count(), 2);
    QCOMPARE(TokenAccount::decodeList(m_settings.reopen()->value(u"totp.accounts"_s).toByteArray()), store.accounts());

    store.update({QUuid::createUuid(), u"x"_s, {}, 30, 6}, u"y"_s, {});
    QCOMPARE(accountsSpy.count(), 2);
}

void TestTokenStore::moveBy_data()
{
    QTest::addColumn<QString>("moved");
    QTest::addColumn<qint64>("by");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<int>("announcements");
    QTest::newRow("top up") << u"A"_s << qint64(-1) << QStringList{u"A"_s, u"B"_s, u"C"_s} << 0;
    QTest::newRow("bottom down") << u"C"_s << qint64(1) << QStringList{u"A"_s, u"B"_s, u"C"_s} << 0;
    QTest::newRow("top down") << u"A"_s << qint64(1) << QStringList{u"B"_s, u"A"_s, u"C"_s} << 1;
    QTest::newRow("bottom far up") << u"C"_s << qint64(-99) << QStringList{u"C"_s, u"A"_s, u"B"_s} << 1;
    QTest::newRow("huge") << u"A"_s << std::numeric_limits<qint64>::max() << QStringList{u"B"_s, u"C"_s, u"A"_s} << 1;
    QTest::newRow("huge negative") << u"B"_s << std::numeric_limits<qint64>::min() << QStringList{u"B"_s, u"A"_s, u"C"_s} << 1;
}

void TestTokenStore::moveBy()
{
    QFETCH(QString, moved);
    QFETCH(qint64, by);
    QFETCH(QStringList, order);
    QFETCH(int, announcements);
    TokenStore &store = storeWith({u"A"_s, u"B"_s, u"C"_s});
    m_settings.settings().remove(u"totp.accounts"_s);
    QSignalSpy accountsSpy(&store, &TokenStore::accountsChanged);
    store.move(account(moved), by);
    QCOMPARE(names(store.accounts()), order);
    QCOMPARE(accountsSpy.count(), announcements);
    QCOMPARE(m_settings.settings().contains(u"totp.accounts"_s), announcements > 0);
}

void TestTokenStore::moveBefore_data()
{
    QTest::addColumn<QString>("moved");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("down onto last") << u"A"_s << u"C"_s << QStringList{u"B"_s, u"A"_s, u"C"_s};
    QTest::newRow("up onto first") << u"C"_s << u"A"_s << QStringList{u"C"_s, u"A"_s, u"B"_s};
    QTest::newRow("onto itself") << u"B"_s << u"B"_s << QStringList{u"A"_s, u"B"_s, u"C"_s};
    QTest::newRow("unknown target") << u"B"_s << u"?"_s << QStringList{u"A"_s, u"B"_s, u"C"_s};
}

void TestTokenStore::moveBefore()
{
    QFETCH(QString, moved);
    QFETCH(QString, before);
    QFETCH(QStringList, order);
    TokenStore &store = storeWith({u"A"_s, u"B"_s, u"C"_s});
    const QUuid target = before == u"?"_s ? QUuid::createUuid() : account(before).id;
    store.move(account(moved).id, target);
    QCOMPARE(names(store.accounts()), order);
    QCOMPARE(names(*TokenAccount::decodeList(m_settings.reopen()->value(u"totp.accounts"_s).toByteArray())), order);
}

void TestTokenStore::undoRestoresPositionAndCode()
{
    TokenStore &store = storeWith({u"A"_s, u"B"_s, u"C"_s});
    const TokenAccount b = account(u"B"_s);
    const QString code = store.codes().value(b.id);
    store.requestDelete(b);
    QCOMPARE(names(store.accounts()), QStringList({u"A"_s, u"C"_s}));
    QCOMPARE(store.pendingDeletion(), PendingDeletion({b, 1}));
    QVERIFY(!store.codes().contains(b.id));
    QCOMPARE(names(*TokenAccount::decodeList(m_settings.reopen()->value(u"totp.accounts"_s).toByteArray())),
             QStringList({u"A"_s, u"C"_s}));

    const int loads = m_keychain.loadCalls;
    store.undoDelete();
    QCOMPARE(names(store.accounts()), QStringList({u"A"_s, u"B"_s, u"C"_s}));
    QVERIFY(!store.pendingDeletion());
    QCOMPARE(store.codes().value(b.id), code);
    QCOMPARE(m_keychain.loadCalls, loads);
    QVERIFY(m_keychain.items.contains(b.id));
}

void TestTokenStore::undoAfterMoveAndShrink()
{
    TokenStore &store = storeWith({u"A"_s, u"B"_s, u"C"_s});
    store.requestDelete(account(u"C"_s));
    store.move(account(u"B"_s), -1);
    store.undoDelete();
    QCOMPARE(names(store.accounts()), QStringList({u"B"_s, u"A"_s, u"C"_s}));

    TokenStore &only = storeWith({u"A"_s});
    only.requestDelete(account(u"A"_s));
    QVERIFY(only.accounts().isEmpty());
    only.undoDelete();
    QCOMPARE(names(only.accounts()), QStringList{u"A"_s});
}

void TestTokenStore::secondDeletionFinalizesFirst()
{
    TokenStore &store = storeWith({u"A"_s, u"B"_s, u"C"_s});
    const TokenAccount a = account(u"A"_s), c = account(u"C"_s);
    store.requestDelete(c);
    store.requestDelete(a);
    QVERIFY(!m_keychain.items.contains(c.id));
    QVERIFY(m_keychain.items.contains(a.id));
    QCOMPARE(store.pendingDeletion()->account, a);
    store.undoDelete();
    QCOMPARE(names(store.accounts()), QStringList({u"A"_s, u"B"_s}));

    // A request for an account no longer listed still finalises the pending one.
    store.requestDelete(a);
    store.requestDelete(c);
    QVERIFY(!store.pendingDeletion());
    QVERIFY(!m_keychain.items.contains(a.id));
}

void TestTokenStore::undoWindowClosesAtFiveSeconds()
{
    TokenStore &store = storeWith({u"A"_s, u"B"_s});
    const TokenAccount a = account(u"A"_s), b = account(u"B"_s);
    store.requestDelete(a);
    QTest::qWait(4900);
    QVERIFY(store.pendingDeletion());
    store.undoDelete();
    QCOMPARE(names(store.accounts()), QStringList({u"A"_s, u"B"_s}));

    QSignalSpy pendingSpy(&store, &TokenStore::pendingDeletionChanged);
    store.requestDelete(b);
    QVERIFY(pendingSpy.wait(5500));
    QVERIFY(!store.pendingDeletion());
    QVERIFY(!m_keychain.items.contains(b.id));
    store.undoDelete();
    QCOMPARE(names(store.accounts()), QStringList{u"A"_s});
}

void TestTokenStore::unreadableListIsKeptAside()
{
    const QByteArray unreadable = R"([{"id":"6BA7B810-9DAD-11D1-80B4-00C04FD430C8","name":"lost"}])";
    const QDir dir(m_settings.directory());
    const QStringList pattern{u"accounts-unreadable-*.json"_s};
    for (int run = 1; run <= 2; ++run) {
        m_settings.settings().setValue(u"totp.accounts"_s, unreadable);
        TokenStore &store = newStore();
        QVERIFY(store.accounts().isEmpty());
        QCOMPARE(dir.entryList(pattern, QDir::Files).size(), run - 1);
        QVERIFY(store.quickAdd(rfcSecret));
        store.requestDelete(store.accounts().first()); // saves again: no second copy
        const QStringList copies = dir.entryList(pattern, QDir::Files);
        QCOMPARE(copies.size(), run);
        for (const QString &copy : copies) {
            QFile file(dir.filePath(copy));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), unreadable);
        }
        QCOMPARE(m_settings.reopen()->value(u"totp.accounts"_s).toByteArray(), "[]"_ba);
    }
}

QTEST_GUILESS_MAIN(TestTokenStore)
#include "tst_tokenstore.moc"
