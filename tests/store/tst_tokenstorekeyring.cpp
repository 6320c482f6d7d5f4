#include "store/SecretServiceKeychain.h"
#include "support/AwaitKeychain.h"
#include "support/Require.h"
#include "support/StoreFixture.h"

#include <QtTest>

#include <gio/gio.h>

#include <atomic>

using namespace Qt::Literals::StringLiterals;

namespace {

GVariant *callService(GDBusConnection *bus, const char *path, const char *interface, const char *method,
                      GVariant *arguments)
{
    return g_dbus_connection_call_sync(bus, "org.freedesktop.secrets", path, interface, method, arguments, nullptr,
                                       G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
}

// Counts the Unlock and Prompt calls anyone makes on the session bus, as a bus monitor.
class PromptCounter
{
public:
    PromptCounter()
    {
        g_autofree gchar *address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
        m_monitor = g_dbus_connection_new_for_address_sync(
            address,
            GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT
                                 | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
        g_dbus_connection_add_filter(
            m_monitor,
            [](GDBusConnection *, GDBusMessage *message, gboolean incoming, gpointer data) -> GDBusMessage * {
                if (!incoming || g_dbus_message_get_message_type(message) != G_DBUS_MESSAGE_TYPE_METHOD_CALL)
                    return message;
                ++static_cast<PromptCounter *>(data)->calls;
                g_object_unref(message); // seen, not to be answered
                return nullptr;
            },
            this, nullptr);
        const gchar *rules[] = {"type='method_call',member='Unlock'", "type='method_call',member='Prompt'", nullptr};
        g_autoptr(GVariant) reply = g_dbus_connection_call_sync(
            m_monitor, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus.Monitoring",
            "BecomeMonitor", g_variant_new("(^asu)", rules, 0u), nullptr, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr,
            nullptr);
    }
    ~PromptCounter() { g_object_unref(m_monitor); }

    std::atomic<int> calls = 0;

private:
    GDBusConnection *m_monitor;
};

} // namespace

// The store over the real Secret Service with its keyring locked under it. (What survives a
// restart and what a final deletion leaves behind are walked end to end by tst_corvane_e2e.)
class TestTokenStoreKeyring : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QUuid probe = QUuid::createUuid();
        const auto saved = save(m_keychain, u"AAAA"_s, probe);
        m_keychain.remove(probe);
        CORVANE_REQUIRE(saved, qPrintable(u"no Secret Service (run through scripts/with-keyring): "_s
                                          + saved.error().description()));
    }

    // Locked while the app is away: at most one Unlock and one Prompt over a minute of ticks,
    // the loop keeps turning, and the codes come once the keyring is unlocked from outside.
    void lockedKeyringAsksOnceAndRecovers()
    {
        TokenStore adding(m_keychain, m_settings.settings(), [] { return 59.0; });
        const QUuid id = quickAdded(adding, rfcSecret).value_or(TokenAccount()).id;
        const QUuid other = quickAdded(adding, StoreFixture::secret(1)).value_or(TokenAccount()).id;
        QVERIFY(!id.isNull() && !other.isNull());
        g_autoptr(GDBusConnection) bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
        const char *service = "/org/freedesktop/secrets";
        g_autoptr(GVariant) alias =
            callService(bus, service, "org.freedesktop.Secret.Service", "ReadAlias", g_variant_new("(s)", "default"));
        const char *collection = nullptr;
        g_variant_get(alias, "(&o)", &collection);
        g_autoptr(GVariant) locked = callService(bus, service, "org.freedesktop.Secret.Service", "Lock",
                                                 g_variant_new("(@ao)", g_variant_new_objv(&collection, 1)));
        QVERIFY(locked);

        PromptCounter prompts;
        double now = 59;
        TokenStore store(m_keychain, m_settings.settings(), [&] { return now; });
        QElapsedTimer sinceTick;
        qint64 longestGap = 0;
        QTimer ticker;
        ticker.callOnTimeout([&] { longestGap = std::max(longestGap, sinceTick.restart()); });
        sinceTick.start();
        ticker.start(100);
        for (; now < 119; now += 0.5) {
            store.refreshCodes(now);
            QTest::qWait(5);
        }
        QCOMPARE(store.keychainStatus(), KeychainStore::Status::Locked);
        QVERIFY(store.codes().isEmpty());
        // A locked keyring deletes nothing, and must not say it did.
        QVERIFY(!awaitKeychain<bool>([&](auto done) { m_keychain.remove(other, done); }));
        QVERIFY2(prompts.calls <= 2, qPrintable(QString::number(prompts.calls)));

        // The daemon's own master-password call, through a plain session.
        g_autoptr(GVariant) session = callService(bus, service, "org.freedesktop.Secret.Service", "OpenSession",
                                                  g_variant_new("(sv)", "plain", g_variant_new_string("")));
        const char *sessionPath = nullptr;
        g_variant_get_child(session, 1, "&o", &sessionPath);
        const auto bytes = [](const char *data) {
            return g_variant_new_fixed_array(G_VARIANT_TYPE_BYTE, data, strlen(data), 1);
        };
        g_autoptr(GVariant) unlocked = callService(
            bus, service, "org.gnome.keyring.InternalUnsupportedGuiltRiddenInterface", "UnlockWithMasterPassword",
            g_variant_new("(o(o@ay@ays))", collection, sessionPath, bytes(""), bytes("throwaway"), "text/plain"));
        QVERIFY(unlocked);
        QElapsedTimer sinceUnlock;
        sinceUnlock.start();
        QTRY_VERIFY_WITH_TIMEOUT(store.codes().contains(id), 2000);
        qInfo() << "codes" << sinceUnlock.elapsed() << "ms after the unlock; longest gap between 100-ms ticks"
                << longestGap << "ms";
        QVERIFY(longestGap < 250);
        QVERIFY(read(m_keychain, {other}).contains(other));
        store.requestDelete(store.accounts().first());
        store.finalizePendingDeletion();
        QTRY_VERIFY(!read(m_keychain, {id}).contains(id));
        m_keychain.remove(other);
    }

private:
    SecretServiceKeychain m_keychain;
    TempSettings m_settings;
};

QTEST_GUILESS_MAIN(TestTokenStoreKeyring)
#include "tst_tokenstorekeyring.moc"
