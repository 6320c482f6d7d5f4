// Runs against a real Secret Service (scripts/with-keyring). Ids are fresh for every test
// and only the items a test made are removed, so a user's own keyring is never disturbed.
#include "SecretServiceKeychain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <libsecret/secret.h>

using namespace Qt::Literals::StringLiterals;
using namespace std::chrono_literals;

namespace {

constexpr char kService[] = "com.local.Corvane";
constexpr char kOther[] = "com.example.Other";
constexpr char kChildMode[] = "CORVANE_TEST_KEYCHAIN_CHILD";

// In CI a missing service is a failure; elsewhere the test is skipped.
#define REQUIRE(condition, why)                                                                    \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            if (qgetenv("CI") == "true")                                                           \
                QFAIL(why);                                                                        \
            QSKIP(why);                                                                            \
        }                                                                                          \
    } while (false)

QByteArray accountText(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper().toUtf8();
}

GHashTable *identity(const char *service, const QByteArray &account)
{
    GHashTable *table = g_hash_table_new(g_str_hash, g_str_equal);
    g_hash_table_insert(table, const_cast<char *>("service"), const_cast<char *>(service));
    g_hash_table_insert(table, const_cast<char *>("account"), const_cast<char *>(account.constData()));
    return table;
}

// Items are read and written below the code under test, straight through libsecret.
struct Item
{
    QMap<QByteArray, QByteArray> attributes;
    QByteArray label;
    QByteArray contentType;
    QByteArray data;
};

QList<Item> items(const char *service, const QByteArray &account)
{
    g_autoptr(GHashTable) query = identity(service, account);
    const auto flags = SecretSearchFlags(SECRET_SEARCH_ALL | SECRET_SEARCH_LOAD_SECRETS);
    GList *found = secret_service_search_sync(nullptr, nullptr, query, flags, nullptr, nullptr);
    QList<Item> result;
    for (GList *node = found; node; node = node->next) {
        auto *item = static_cast<SecretItem *>(node->data);
        Item copy;
        g_autoptr(GHashTable) attributes = secret_item_get_attributes(item);
        GHashTableIter it;
        gpointer key, value;
        g_hash_table_iter_init(&it, attributes);
        while (g_hash_table_iter_next(&it, &key, &value))
            copy.attributes.insert(static_cast<const char *>(key), static_cast<const char *>(value));
        g_autofree gchar *label = secret_item_get_label(item);
        copy.label = label;
        if (g_autoptr(SecretValue) secret = secret_item_get_secret(item)) {
            gsize length = 0;
            const gchar *data = secret_value_get(secret, &length);
            copy.data = QByteArray(data, qsizetype(length));
            copy.contentType = secret_value_get_content_type(secret);
        }
        result << copy;
    }
    g_list_free_full(found, g_object_unref);
    return result;
}

bool storeRaw(const char *service, const QByteArray &account, const QByteArray &data)
{
    g_autoptr(GHashTable) attributes = identity(service, account);
    g_autoptr(SecretValue) value = secret_value_new(data.constData(), data.size(), "text/plain");
    return secret_service_store_sync(nullptr, nullptr, attributes, SECRET_COLLECTION_DEFAULT, account.constData(),
                                     value, nullptr, nullptr);
}

void clearRaw(const char *service, const QByteArray &account)
{
    g_autoptr(GHashTable) attributes = identity(service, account);
    secret_service_clear_sync(nullptr, nullptr, attributes, nullptr, nullptr);
}

// A second connection owns the Secret Service's name and swallows every call made to it.
GDBusConnection *ownNameAndNeverAnswer()
{
    const auto flags = GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT
                                            | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION);
    GDBusConnection *bus = g_dbus_connection_new_for_address_sync(g_getenv("DBUS_SESSION_BUS_ADDRESS"), flags,
                                                                  nullptr, nullptr, nullptr);
    if (!bus)
        return nullptr;
    g_dbus_connection_add_filter(
        bus,
        [](GDBusConnection *, GDBusMessage *message, gboolean incoming, gpointer) -> GDBusMessage * {
            if (incoming && g_dbus_message_get_message_type(message) == G_DBUS_MESSAGE_TYPE_METHOD_CALL) {
                g_object_unref(message);
                return nullptr;
            }
            return message;
        },
        nullptr, nullptr);
    g_autoptr(GVariant) reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
        g_variant_new("(su)", "org.freedesktop.secrets", 0u), nullptr, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
    return bus;
}

// Locks the default collection of the keyring daemon the parent started, once it is up.
bool lockDefaultCollection()
{
    g_autoptr(GDBusConnection) bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    const char *const paths[] = {"/org/freedesktop/secrets/aliases/default", nullptr};
    for (int attempt = 0; bus && attempt < 100; ++attempt, g_usleep(100000)) {
        g_autoptr(GVariant) reply = g_dbus_connection_call_sync(
            bus, "org.freedesktop.secrets", "/org/freedesktop/secrets", "org.freedesktop.Secret.Service", "Lock",
            g_variant_new("(^ao)", paths), nullptr, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
        if (reply)
            return true;
    }
    return false;
}

// The child process of unavailableService: libsecret keeps its service per process, so a
// bus without a working Secret Service needs a fresh one. Prints one line for the parent.
int runChild(const QByteArray &mode)
{
    GDBusConnection *owner = nullptr;
    if (mode == "hung" && !(owner = ownNameAndNeverAnswer()))
        return 2;
    if (mode == "locked" && !lockDefaultCollection())
        return 2;
    SecretServiceKeychain keychain(owner ? 1s : 5s);
    QElapsedTimer timer;
    timer.start();
    const auto saved = keychain.save(u"JBSWY3DPEHPK3PXP"_s, QUuid::createUuid());
    const qint64 saveMs = timer.restart();
    const bool loaded = keychain.load(QUuid::createUuid()).has_value();
    const qint64 loadMs = timer.elapsed();
    if (owner)
        g_object_unref(owner);
    if (saved)
        return 3;
    QTextStream(stdout) << saved.error().domain() << ' ' << saved.error().code() << ' '
                        << !saved.error().description().isEmpty() << ' ' << saveMs << ' ' << loaded << ' ' << loadMs
                        << '\n';
    return 0;
}

} // namespace

class TestSecretServiceKeychain : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void roundTrip_data();
    void roundTrip();
    void savedItemAttributes();
    void saveTwiceKeepsOneItem();
    void absent_data();
    void absent();
    void invalidUtf8_data();
    void invalidUtf8();
    void otherItemsUntouched();
    void loadAllReturnsOnlyThisService();
    void unavailableService_data();
    void unavailableService();

private:
    QUuid newId()
    {
        m_ids << QUuid::createUuid();
        return m_ids.last();
    }

    SecretServiceKeychain m_keychain;
    bool m_haveService = false;
    QList<QUuid> m_ids;
};

void TestSecretServiceKeychain::initTestCase()
{
    // Without an address GLib would autolaunch a bus of its own.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return;
    g_autoptr(GDBusConnection) bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!bus)
        return;
    g_autoptr(GVariant) reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
        g_variant_new("(s)", "org.freedesktop.secrets"), G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, 5000, nullptr,
        nullptr);
    gboolean owned = FALSE;
    if (reply)
        g_variant_get(reply, "(b)", &owned);
    m_haveService = owned;
}

void TestSecretServiceKeychain::init()
{
    if (qstrcmp(QTest::currentTestFunction(), "unavailableService") != 0)
        REQUIRE(m_haveService, "no org.freedesktop.secrets on the session bus; run under scripts/with-keyring");
}

void TestSecretServiceKeychain::cleanup()
{
    for (const QUuid &id : std::as_const(m_ids)) {
        clearRaw(kService, accountText(id));
        clearRaw(kService, accountText(id).toLower());
        clearRaw(kOther, accountText(id));
    }
    m_ids.clear();
}

void TestSecretServiceKeychain::roundTrip_data()
{
    QTest::addColumn<QString>("secret");
    QTest::newRow("base32") << u"JBSWY3DPEHPK3PXP"_s;
    QTest::newRow("empty") << QString();
    QTest::newRow("non-ASCII") << u"密钥ÄÖ🙂"_s;
    QTest::newRow("NUL inside") << u"AB\0CD"_s;
    QTest::newRow("leading BOM") << u"\uFEFFJBSW"_s;
}

void TestSecretServiceKeychain::roundTrip()
{
    QFETCH(QString, secret);
    const QUuid id = newId();
    QVERIFY(m_keychain.save(secret, id).has_value());
    QVERIFY(m_keychain.load(id) == secret);
    QVERIFY(m_keychain.loadAll().value(id, u"-"_s) == secret);
}

void TestSecretServiceKeychain::savedItemAttributes()
{
    const QUuid id = newId();
    const QByteArray account = accountText(id);
    QVERIFY(m_keychain.save(u"JBSWY3DPEHPK3PXP"_s, id).has_value());

    const QList<Item> found = items(kService, account);
    QCOMPARE(found.size(), 1);
    // "xdg:schema" is the Secret Service's own bookkeeping; gnome-keyring adds one if it is missing.
    const QMap<QByteArray, QByteArray> expected{{"service", kService}, {"account", account}, {"xdg:schema", kService}};
    QCOMPARE(found[0].attributes, expected);
    QCOMPARE(found[0].label, account);
    QCOMPARE(found[0].contentType, "text/plain");
    QVERIFY(found[0].data == "JBSWY3DPEHPK3PXP");
}

void TestSecretServiceKeychain::saveTwiceKeepsOneItem()
{
    const QUuid id = newId();
    QVERIFY(m_keychain.save(u"AAAAAAAAAAAAAAAA"_s, id).has_value());
    QVERIFY(m_keychain.save(u"BBBBBBBBBBBBBBBB"_s, id).has_value());

    const QList<Item> found = items(kService, accountText(id));
    QCOMPARE(found.size(), 1);
    QVERIFY(found[0].data == "BBBBBBBBBBBBBBBB");
    QVERIFY(m_keychain.load(id) == u"BBBBBBBBBBBBBBBB"_s);
}

void TestSecretServiceKeychain::absent_data()
{
    QTest::addColumn<bool>("saved");
    QTest::addColumn<int>("removals");
    QTest::newRow("never saved") << false << 0;
    QTest::newRow("removed") << true << 1;
    QTest::newRow("removed twice") << true << 2;
    QTest::newRow("never saved, removed") << false << 1;
}

void TestSecretServiceKeychain::absent()
{
    QFETCH(bool, saved);
    QFETCH(int, removals);
    const QUuid id = newId();
    if (saved)
        QVERIFY(m_keychain.save(u"JBSWY3DPEHPK3PXP"_s, id).has_value());
    for (int i = 0; i < removals; ++i)
        m_keychain.remove(id);
    QVERIFY(!m_keychain.load(id).has_value());
    QVERIFY(!m_keychain.loadAll().contains(id));
    QCOMPARE(items(kService, accountText(id)).size(), 0);
}

void TestSecretServiceKeychain::invalidUtf8_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("stray byte") << "JBSW\xFFY3DP"_ba;
    QTest::newRow("truncated sequence at the end") << "JBSW\xC3"_ba;
    QTest::newRow("overlong form") << "\xC0\xAF"_ba;
    QTest::newRow("UTF-16 surrogate") << "\xED\xA0\x80"_ba;
}

void TestSecretServiceKeychain::invalidUtf8()
{
    QFETCH(QByteArray, data);
    const QUuid id = newId();
    QVERIFY(storeRaw(kService, accountText(id), data));
    QVERIFY(!m_keychain.load(id).has_value());
    QVERIFY(!m_keychain.loadAll().contains(id));
}

void TestSecretServiceKeychain::otherItemsUntouched()
{
    const QUuid id = newId();
    const QUuid sibling = newId();
    QVERIFY(storeRaw(kOther, accountText(id), "OTHER"));
    QVERIFY(m_keychain.save(u"SIBLING"_s, sibling).has_value());

    QVERIFY(m_keychain.save(u"FIRST"_s, id).has_value());
    QVERIFY(m_keychain.save(u"SECOND"_s, id).has_value());
    QVERIFY(m_keychain.loadAll().value(id) == u"SECOND"_s);
    m_keychain.remove(id);

    const QList<Item> other = items(kOther, accountText(id));
    QCOMPARE(other.size(), 1);
    QVERIFY(other[0].data == "OTHER");
    QVERIFY(m_keychain.load(sibling) == u"SIBLING"_s);
}

void TestSecretServiceKeychain::loadAllReturnsOnlyThisService()
{
    const QHash<QUuid, QString> before = m_keychain.loadAll();
    const QUuid a = newId();
    const QUuid b = newId();
    const QUuid other = newId();
    const QUuid lowerCase = newId();
    QVERIFY(m_keychain.save(u"AAAA"_s, a).has_value());
    QVERIFY(m_keychain.save(u"BBBB"_s, b).has_value());
    QVERIFY(storeRaw(kOther, accountText(other), "OTHER"));
    // load() would not find it under its id, so neither may loadAll().
    QVERIFY(storeRaw(kService, accountText(lowerCase).toLower(), "LOWER"));

    QHash<QUuid, QString> added = m_keychain.loadAll();
    for (auto it = before.keyBegin(); it != before.keyEnd(); ++it)
        added.remove(*it);
    QVERIFY(added == (QHash<QUuid, QString>{{a, u"AAAA"_s}, {b, u"BBBB"_s}}));
}

void TestSecretServiceKeychain::unavailableService_data()
{
    QTest::addColumn<QByteArray>("mode");
    QTest::addColumn<QString>("domain");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("withinMs");
    QTest::newRow("no Secret Service on the bus")
        << "absent"_ba << u"g-dbus-error-quark"_s << int(G_DBUS_ERROR_SERVICE_UNKNOWN) << 10000;
    QTest::newRow("Secret Service never answers")
        << "hung"_ba << u"g-io-error-quark"_s << int(G_IO_ERROR_TIMED_OUT) << 5000;
    QTest::newRow("locked, unlock prompt cannot show")
        << "locked"_ba << u"g-io-error-quark"_s << int(G_IO_ERROR_PERMISSION_DENIED) << 5000;
}

void TestSecretServiceKeychain::unavailableService()
{
    QFETCH(QByteArray, mode);
    QFETCH(QString, domain);
    QFETCH(int, code);
    QFETCH(int, withinMs);

    // A private bus without service activation: nothing answers for org.freedesktop.secrets.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile config(dir.filePath(u"bus.conf"_s));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write("<busconfig><type>session</type><listen>unix:dir=" + QFile::encodeName(dir.path())
                 + "</listen><policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                   "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>");
    config.close();
    QProcess bus;
    bus.start(u"dbus-daemon"_s, {u"--config-file="_s + config.fileName(), u"--print-address"_s, u"--nofork"_s});
    auto stopBus = qScopeGuard([&bus] {
        bus.terminate();
        bus.waitForFinished();
    });
    REQUIRE(bus.waitForStarted(), "dbus-daemon did not start");
    while (!bus.canReadLine() && bus.waitForReadyRead(5000)) {
    }
    const QString address = QString::fromUtf8(bus.readLine().trimmed());
    REQUIRE(!address.isEmpty(), "dbus-daemon printed no address");

    // Without a display or activation on this bus, the daemon cannot show its unlock prompt.
    QProcess keyring;
    auto stopKeyring = qScopeGuard([&keyring] {
        keyring.terminate();
        keyring.waitForFinished();
    });
    if (mode == "locked") {
        QVERIFY(QDir(dir.path()).mkdir(u"run"_s));
        QVERIFY(QFile::setPermissions(dir.filePath(u"run"_s), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"XDG_DATA_HOME"_s, u"XDG_CONFIG_HOME"_s})
            env.remove(name);
        env.insert(u"HOME"_s, dir.path());
        env.insert(u"XDG_RUNTIME_DIR"_s, dir.filePath(u"run"_s));
        env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, address);
        keyring.setProcessEnvironment(env);
        keyring.start(u"gnome-keyring-daemon"_s, {u"--foreground"_s, u"--unlock"_s, u"--components=secrets"_s});
        REQUIRE(keyring.waitForStarted(), "gnome-keyring-daemon did not start");
        keyring.write("throwaway");
        keyring.waitForBytesWritten(5000);
        keyring.closeWriteChannel();
    }

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"DISPLAY"_s);
    env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, address);
    env.insert(QString::fromLatin1(kChildMode), QString::fromLatin1(mode));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForFinished(60000));
    QVERIFY2(child.exitCode() == 0, child.readAllStandardError().constData());

    // domain code described saveMs loaded loadMs
    const QList<QByteArray> out = child.readAllStandardOutput().trimmed().split(' ');
    QCOMPARE(out.size(), 6);
    QCOMPARE(QString::fromUtf8(out[0]), domain);
    QCOMPARE(out[1].toInt(), code);
    QCOMPARE(out[2], "1");
    QCOMPARE_LT(out[3].toInt(), withinMs);
    QCOMPARE(out[4], "0");
    QCOMPARE_LT(out[5].toInt(), withinMs);
}

int main(int argc, char **argv)
{
    if (const QByteArray mode = qgetenv(kChildMode); !mode.isEmpty())
        return runChild(mode);
    QCoreApplication app(argc, argv);
    TestSecretServiceKeychain test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_secretservicekeychain.moc"
