// Runs against a real Secret Service (scripts/with-keyring). Ids are fresh for every test
// and only the items a test made are removed, so a user's own keyring is never disturbed.
#include "store/SecretServiceKeychain.h"
#include "support/AwaitKeychain.h"
#include "support/Require.h"

#include <QtTest>

#include <libsecret/secret.h>

using namespace Qt::Literals::StringLiterals;

namespace {
constexpr char kService[] = "com.local.Corvane";
constexpr char kOther[] = "com.example.Other";

QByteArray account(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper().toUtf8();
}

GVariant *callBus(GDBusConnection *bus, const char *method, GVariant *arguments)
{
    return g_dbus_connection_call_sync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                       method, arguments, nullptr, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
}

// Items reached below the code under test, straight through libsecret: stores `data` or
// clears the items first, then returns the data of every item left with these attributes.
enum class Raw { find, store, clear };
QByteArrayList raw(Raw op, const char *service, const QByteArray &account, const QByteArray &data = {})
{
    g_autoptr(GHashTable) attributes = g_hash_table_new(g_str_hash, g_str_equal);
    g_hash_table_insert(attributes, const_cast<char *>("service"), const_cast<char *>(service));
    g_hash_table_insert(attributes, const_cast<char *>("account"), const_cast<char *>(account.constData()));
    g_autoptr(SecretValue) value = secret_value_new(data.constData(), data.size(), "text/plain");
    if (op == Raw::store)
        secret_service_store_sync(nullptr, nullptr, attributes, nullptr, account.constData(), value, nullptr, nullptr);
    if (op == Raw::clear)
        secret_service_clear_sync(nullptr, nullptr, attributes, nullptr, nullptr);
    const auto flags = SecretSearchFlags(SECRET_SEARCH_ALL | SECRET_SEARCH_LOAD_SECRETS);
    GList *found = secret_service_search_sync(nullptr, nullptr, attributes, flags, nullptr, nullptr);
    QByteArrayList result;
    for (GList *node = found; node; node = node->next) {
        g_autoptr(SecretValue) secret = secret_item_get_secret(SECRET_ITEM(node->data));
        gsize length = 0;
        const gchar *bytes = secret ? secret_value_get(secret, &length) : "";
        result << QByteArray(bytes, qsizetype(length));
    }
    g_list_free_full(found, g_object_unref);
    return result;
}

// The child process of unavailableService, on a private bus: libsecret keeps its service per
// process. "hung" owns the Secret Service's name itself and swallows every call made to it.
// Prints: domain code described loaded within-5-s; with an event loop ("hung-loop"): whether
// a 100-ms timer kept firing within 250 ms while a read waited, the read failed, and the
// service was found unreachable.
int runChild(const QByteArray &mode)
{
    g_autoptr(GDBusConnection) bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (mode.startsWith("hung")) {
        const auto swallowCalls = [](GDBusConnection *, GDBusMessage *message, gboolean in, gpointer) {
            const bool call = in && g_dbus_message_get_message_type(message) == G_DBUS_MESSAGE_TYPE_METHOD_CALL;
            return call ? (g_object_unref(message), nullptr) : message;
        };
        g_dbus_connection_add_filter(bus, swallowCalls, nullptr, nullptr);
        g_autoptr(GVariant) reply = callBus(bus, "RequestName", g_variant_new("(su)", "org.freedesktop.secrets", 0u));
    }
    if (mode == "hung-loop") {
        int argc = 0;
        QCoreApplication app(argc, nullptr);
        SecretServiceKeychain keychain(std::chrono::seconds(1));
        QElapsedTimer sinceTick;
        qint64 longestGap = 0;
        QTimer ticker;
        ticker.callOnTimeout([&] { longestGap = std::max(longestGap, sinceTick.restart()); });
        sinceTick.start();
        ticker.start(100);
        bool failed = false;
        keychain.read({QUuid::createUuid()}, [&](KeychainStore::ReadResult result) { failed = !result; });
        QTimer::singleShot(2000, &app, &QCoreApplication::quit);
        app.exec();
        QTextStream(stdout) << (longestGap < 250) << ' ' << failed << ' '
                            << (keychain.status() == KeychainStore::Status::Unreachable);
        return 0;
    }
    SecretServiceKeychain keychain(std::chrono::seconds(1));
    QElapsedTimer timer;
    timer.start();
    const auto saved = save(keychain, u"JBSWY3DPEHPK3PXP"_s, QUuid::createUuid());
    bool loaded = false; // without an event loop, the read is over when the call returns
    keychain.read({}, [&](KeychainStore::ReadResult result) { loaded = result.has_value(); });
    if (saved)
        return 3;
    QTextStream(stdout) << saved.error().domain() << ' ' << saved.error().code() << ' '
                        << !saved.error().description().isEmpty() << ' ' << loaded << ' ' << (timer.elapsed() < 5000);
    return 0;
}
} // namespace

class TestSecretServiceKeychain : public QObject
{
    Q_OBJECT
    QUuid newId() { return m_ids.emplace_back(QUuid::createUuid()); }
    SecretServiceKeychain m_keychain;
    QList<QUuid> m_ids;

private Q_SLOTS:
    void init()
    {
        if (qstrcmp(QTest::currentTestFunction(), "unavailableService") == 0)
            return;
        // Without an address GLib would autolaunch a bus of its own.
        g_autoptr(GDBusConnection) bus = qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")
                                             ? g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr)
                                             : nullptr;
        g_autoptr(GVariant) owner =
            bus ? callBus(bus, "GetNameOwner", g_variant_new("(s)", "org.freedesktop.secrets")) : nullptr;
        CORVANE_REQUIRE(owner, "no org.freedesktop.secrets on the session bus; run under scripts/with-keyring");
    }

    void cleanup()
    {
        for (const QUuid &id : std::exchange(m_ids, {}))
            for (const char *service : {kService, kOther})
                for (const QByteArray &name : {account(id), account(id).toLower()})
                    raw(Raw::clear, service, name);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("secret");
        QTest::newRow("base32") << u"JBSWY3DPEHPK3PXP"_s;
        QTest::newRow("empty") << QString();
        QTest::newRow("non-ASCII") << u"密钥ÄÖ🙂"_s;
        QTest::newRow("NUL inside") << u"AB\0CD"_s;
        QTest::newRow("leading BOM") << u"\uFEFFJBSW"_s;
    }

    void roundTrip()
    {
        QFETCH(QString, secret);
        const QUuid id = newId();
        QVERIFY(save(m_keychain, secret, id));
        QVERIFY(read(m_keychain, {id}).value(id, u"-"_s) == secret);
        QVERIFY(raw(Raw::find, kService, account(id)) == QByteArrayList{secret.toUtf8()});
    }

    // Saving again replaces and removing twice is harmless; only items of this service, under
    // the upper-case id, in UTF-8, are read or removed. Comparisons of secrets use QVERIFY so
    // that no secret is ever printed.
    void saveReadRemoveOnlyOurs()
    {
        const QUuid id = newId(), sibling = newId(), lower = newId();
        QList<QUuid> ids{id, sibling, lower, newId()};
        raw(Raw::store, kOther, account(id), "OTHER");
        raw(Raw::store, kService, account(lower).toLower(), "LOWER");
        // A stray byte, a truncated sequence, an overlong form, a UTF-16 surrogate.
        for (const QByteArray &data : {"JBSW\xFFY3DP"_ba, "JBSW\xC3"_ba, "\xC0\xAF"_ba, "\xED\xA0\x80"_ba}) {
            ids.append(newId());
            QCOMPARE(raw(Raw::store, kService, account(ids.last()), data).size(), 1);
        }
        QVERIFY(save(m_keychain, u"SIBLING"_s, sibling) && save(m_keychain, u"FIRST"_s, id)
                && save(m_keychain, u"SECOND"_s, id));
        QVERIFY(raw(Raw::find, kService, account(id)) == QByteArrayList{"SECOND"});
        QVERIFY(read(m_keychain, ids) == (QHash<QUuid, QString>{{id, u"SECOND"_s}, {sibling, u"SIBLING"_s}}));
        QList<bool> removed;
        for (qsizetype i = 1; i <= 2; ++i) { // a second time is harmless
            m_keychain.remove(id, [&](bool done) { removed << done; });
            QTRY_COMPARE(removed.size(), i);
        }
        QCOMPARE(removed, QList<bool>({true, true}));
        QVERIFY(raw(Raw::find, kService, account(id)).isEmpty());
        QVERIFY(raw(Raw::find, kOther, account(id)) == QByteArrayList{"OTHER"});
        QVERIFY(read(m_keychain, ids) == (QHash<QUuid, QString>{{sibling, u"SIBLING"_s}}));
    }

    void unavailableService_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("failure");
        QTest::newRow("no service") << u"none"_s << u"g-dbus-error-quark %1 1 0 1"_s.arg(G_DBUS_ERROR_SERVICE_UNKNOWN);
        QTest::newRow("never answers") << u"hung"_s << u"g-io-error-quark %1 1 0 1"_s.arg(G_IO_ERROR_TIMED_OUT);
        QTest::newRow("never answers, loop turns") << u"hung-loop"_s << u"1 1 1"_s;
    }

    void unavailableService()
    {
        QFETCH(QString, mode);
        // A private bus without service activation: nothing answers for org.freedesktop.secrets.
        QTemporaryFile config;
        QVERIFY(config.open() && config.write(R"(<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>
            <policy context="default"><allow send_destination="*"/><allow receive_sender="*"/><allow own="*"/></policy>
            </busconfig>)") > 0
                && config.flush());
        QProcess child;
        child.start(u"dbus-run-session"_s, {u"--config-file="_s + config.fileName(), u"--"_s,
                                            QCoreApplication::applicationFilePath(), u"--child"_s, mode});
        QVERIFY2(child.waitForStarted(), "dbus-run-session did not start");
        QVERIFY(child.waitForFinished(60000));
        QVERIFY2(child.exitCode() == 0, child.readAllStandardError().constData());
        QTEST(QString::fromUtf8(child.readAllStandardOutput()), "failure");
    }
};

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--child") == 0)
        return runChild(argv[2]);
    QCoreApplication app(argc, argv);
    TestSecretServiceKeychain test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_secretservicekeychain.moc"
