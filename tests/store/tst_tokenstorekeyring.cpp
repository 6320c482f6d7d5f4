#include "store/SecretServiceKeychain.h"
#include "store/TokenStore.h"
#include "support/TempSettings.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

// The store over the real Secret Service: what survives a restart, and what a final
// deletion leaves behind.
class TestTokenStoreKeyring : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void codesComeBackAfterRestart();
    void finalDeletionRemovesTheItem();

private:
    std::unique_ptr<TokenStore> store()
    {
        return std::make_unique<TokenStore>(m_keychain, m_settings.settings(), clock);
    }
    static double clock() { return 59; }

    SecretServiceKeychain m_keychain;
    TempSettings m_settings;
};

// RFC 6238's SHA-1 key: at 59 s its 6-digit code is 287082.
static const QString rfcSecret = u"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ"_s;

void TestTokenStoreKeyring::initTestCase()
{
    const QUuid probe = QUuid::createUuid();
    const auto saved = m_keychain.save(u"AAAA"_s, probe);
    m_keychain.remove(probe);
    if (saved)
        return;
    if (qEnvironmentVariable("CI") == u"true"_s)
        QFAIL(qPrintable(u"no Secret Service: "_s + saved.error().description()));
    QSKIP("no Secret Service on this session bus; run through scripts/with-keyring");
}

void TestTokenStoreKeyring::codesComeBackAfterRestart()
{
    QUuid id;
    {
        auto first = store();
        const auto added = first->quickAdd(rfcSecret.toLower());
        QVERIFY(added);
        id = added->id;
    }
    auto restarted = store();
    QCOMPARE(restarted->accounts().size(), 1);
    QCOMPARE(restarted->codes().value(id), u"287082"_s);
    QCOMPARE(m_keychain.load(id), rfcSecret);
    restarted->requestDelete(restarted->accounts().first());
    restarted->finalizePendingDeletion();
}

void TestTokenStoreKeyring::finalDeletionRemovesTheItem()
{
    auto s = store();
    const auto added = s->quickAdd(rfcSecret);
    QVERIFY(added);
    s->requestDelete(*added);
    QVERIFY(m_keychain.load(added->id)); // kept while the undo window is open
    QTRY_VERIFY_WITH_TIMEOUT(!s->pendingDeletion(), TokenStore::undoWindowMs + 2000);
    QVERIFY(!m_keychain.load(added->id));
    QVERIFY(!m_keychain.loadAll().contains(added->id));
}

QTEST_GUILESS_MAIN(TestTokenStoreKeyring)
#include "tst_tokenstorekeyring.moc"
