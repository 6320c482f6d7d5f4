#include "store/SecretServiceKeychain.h"

#include <QByteArrayView>
#include <QStringDecoder>

// For the item-path calls of loadAll (secret-paths.h), unchanged since libsecret 0.7.
#define SECRET_API_SUBJECT_TO_CHANGE
#include <libsecret/secret.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr char kService[] = "com.local.Corvane";

// DONT_MATCH_NAME: an item is identified by service and account alone.
const SecretSchema kSchema = [] {
    SecretSchema schema{};
    schema.name = kService;
    schema.flags = SECRET_SCHEMA_DONT_MATCH_NAME;
    schema.attributes[0] = {"service", SECRET_SCHEMA_ATTRIBUTE_STRING};
    schema.attributes[1] = {"account", SECRET_SCHEMA_ATTRIBUTE_STRING};
    return schema;
}();

QByteArray accountText(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper().toUtf8();
}

// The table borrows its strings: `account` must outlive it.
GHashTable *attributes(const QByteArray *account = nullptr)
{
    GHashTable *table = g_hash_table_new(g_str_hash, g_str_equal);
    g_hash_table_insert(table, const_cast<char *>("service"), const_cast<char *>(kService));
    if (account)
        g_hash_table_insert(table, const_cast<char *>("account"), const_cast<char *>(account->constData()));
    return table;
}

std::optional<QString> decodeSecret(SecretValue *value)
{
    gsize length = 0;
    const gchar *data = secret_value_get(value, &length);
    // Stateless: a truncated sequence at the end is an error, not pending input.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(QByteArrayView(data, qsizetype(length)));
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

KeychainError keychainError(const GError *error)
{
    g_autoptr(GError) copy = g_error_copy(error);
    g_dbus_error_strip_remote_error(copy); // drops the "GDBus.Error:<name>: " prefix
    return KeychainError(QString::fromUtf8(g_quark_to_string(copy->domain)), copy->code,
                         QString::fromUtf8(copy->message));
}

// libsecret's service object keeps delivering D-Bus signals to the main context that was
// current when it was created, so every call runs on this one context, which lives as long
// as the process: per-call contexts would collect those signals unread. Being private, it
// keeps Qt's event loop (the default context) from running inside a keychain call.
GMainContext *keychainContext()
{
    static GMainContext *const context = g_main_context_new();
    return context;
}

// One keychain operation: asynchronous calls, run to completion one step after another on the
// private context. Together they must finish before one deadline; a prompt shown to the user
// is waited for and starts the deadline afresh.
class Operation
{
public:
    explicit Operation(std::chrono::milliseconds timeout) : m_timeout(timeout), m_deadline(Clock::now() + timeout)
    {
        g_main_context_push_thread_default(keychainContext());
    }
    ~Operation() { g_main_context_pop_thread_default(keychainContext()); }
    Operation(const Operation &) = delete;
    Operation &operator=(const Operation &) = delete;

    enum class Wait { UntilDeadline, ForUser };

    // start(cancellable, callback, data) begins one asynchronous call; finish(result, error)
    // is its _finish function. A call cut off by the deadline fails with G_IO_ERROR_TIMED_OUT.
    template <typename Start, typename Finish>
    auto call(Start start, Finish finish, GError **error, Wait wait = Wait::UntilDeadline)
    {
        using Result = decltype(finish(std::declval<GAsyncResult *>(), error));
        bool expired = false;
        const std::vector<GAsyncResult *> results = run(
            1, [&](std::size_t, GCancellable *c, GAsyncReadyCallback cb, gpointer d) { start(c, cb, d); }, wait,
            &expired);
        if (results.empty()) {
            setTimedOut(error);
            return Result{};
        }
        Result value = finish(results[0], error);
        g_object_unref(results[0]);
        if (expired && g_error_matches(*error, G_IO_ERROR, G_IO_ERROR_CANCELLED)) {
            g_clear_error(error);
            setTimedOut(error);
        }
        return value;
    }

    // `count` calls at once: start(i, cancellable, callback, data) begins call i, finish(i, result)
    // takes its result. False, with the timeout error, when the deadline cut them off.
    template <typename Start, typename Finish>
    bool callEach(std::size_t count, Start start, Finish finish, GError **error)
    {
        bool expired = false;
        const std::vector<GAsyncResult *> results = run(count, start, Wait::UntilDeadline, &expired);
        for (std::size_t i = 0; i < results.size(); ++i) {
            if (!expired)
                finish(i, results[i]);
            g_object_unref(results[i]);
        }
        if (expired)
            setTimedOut(error);
        return !expired;
    }

    // The service with a session open and the default collection unlocked, so that no later
    // call of this operation needs a prompt under the deadline.
    SecretService *service(GError **error)
    {
        g_autoptr(SecretService) service =
            call([](GCancellable *c, GAsyncReadyCallback cb,
                    gpointer d) { secret_service_get(SECRET_SERVICE_OPEN_SESSION, c, cb, d); },
                 [](GAsyncResult *r, GError **e) { return secret_service_get_finish(r, e); }, error);
        if (!service)
            return nullptr;
        bool locked = false;
        if (!readDefaultLocked(service, &locked, error) || (locked && !unlockDefault(service, error)))
            return nullptr;
        return static_cast<SecretService *>(g_steal_pointer(&service));
    }

private:
    using Clock = std::chrono::steady_clock;

    // One property read on the default collection's alias path (a collection object would cost
    // several round trips on every operation). A service without that path reads as unlocked.
    bool readDefaultLocked(SecretService *service, bool *locked, GError **error)
    {
        GDBusConnection *bus = g_dbus_proxy_get_connection(G_DBUS_PROXY(service));
        g_autoptr(GError) failure = nullptr;
        g_autoptr(GVariant) reply = call(
            [&](GCancellable *c, GAsyncReadyCallback cb, gpointer d) {
                g_dbus_connection_call(bus, g_dbus_proxy_get_name(G_DBUS_PROXY(service)),
                                       "/org/freedesktop/secrets/aliases/default", "org.freedesktop.DBus.Properties",
                                       "Get", g_variant_new("(ss)", "org.freedesktop.Secret.Collection", "Locked"),
                                       G_VARIANT_TYPE("(v)"), G_DBUS_CALL_FLAGS_NONE, -1, c, cb, d);
            },
            [&](GAsyncResult *r, GError **e) { return g_dbus_connection_call_finish(bus, r, e); }, &failure);
        if (g_error_matches(failure, G_IO_ERROR, G_IO_ERROR_TIMED_OUT)) {
            g_propagate_error(error, static_cast<GError *>(g_steal_pointer(&failure)));
            return false;
        }
        if (reply) {
            g_autoptr(GVariant) value = nullptr;
            g_variant_get(reply, "(v)", &value);
            *locked = g_variant_is_of_type(value, G_VARIANT_TYPE_BOOLEAN) && g_variant_get_boolean(value);
        }
        return true;
    }

    // The unlock prompt waits for the user, not for the deadline.
    bool unlockDefault(SecretService *service, GError **error)
    {
        g_autoptr(SecretCollection) collection = call(
            [&](GCancellable *c, GAsyncReadyCallback cb, gpointer d) {
                secret_collection_for_alias(service, SECRET_COLLECTION_DEFAULT, SECRET_COLLECTION_NONE, c, cb, d);
            },
            [](GAsyncResult *r, GError **e) { return secret_collection_for_alias_finish(r, e); }, error);
        if (!collection)
            return !*error;
        GList objects = {collection, nullptr, nullptr};
        const gint unlocked =
            call([&](GCancellable *c, GAsyncReadyCallback cb,
                     gpointer d) { secret_service_unlock(service, &objects, c, cb, d); },
                 [&](GAsyncResult *r, GError **e) { return secret_service_unlock_finish(service, r, nullptr, e); },
                 error, Wait::ForUser);
        if (*error)
            return false;
        if (unlocked == 0) { // the user dismissed the prompt
            g_set_error_literal(error, G_IO_ERROR, G_IO_ERROR_PERMISSION_DENIED, "钥匙串已锁定，无法读取或保存密钥。");
            return false;
        }
        m_deadline = Clock::now() + m_timeout;
        return true;
    }

    // Starts the calls and iterates the private context until every one has called back. When
    // the deadline passes first, the rest are cancelled and still waited for (their callbacks come
    // with G_IO_ERROR_CANCELLED), so nothing refers to this frame afterwards. No results when
    // the deadline had passed before the calls could start.
    template <typename Start>
    std::vector<GAsyncResult *> run(std::size_t count, const Start &start, Wait wait, bool *expired)
    {
        GMainContext *context = keychainContext();
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(m_deadline - Clock::now());
        if (wait == Wait::UntilDeadline && left.count() <= 0) {
            *expired = true;
            return {};
        }

        std::vector<GAsyncResult *> results(count, nullptr);
        const auto finished = [&] { return std::ranges::none_of(results, [](GAsyncResult *r) { return !r; }); };
        g_autoptr(GCancellable) cancellable = g_cancellable_new();
        for (std::size_t i = 0; i < count; ++i) {
            start(
                i, cancellable,
                [](GObject *, GAsyncResult *r, gpointer slot) {
                    *static_cast<GAsyncResult **>(slot) = G_ASYNC_RESULT(g_object_ref(r));
                },
                &results[i]);
        }

        bool late = false;
        GSource *timer = nullptr;
        if (wait == Wait::UntilDeadline) {
            timer = g_timeout_source_new(guint(left.count()));
            g_source_set_callback(
                timer,
                [](gpointer flag) -> gboolean {
                    *static_cast<bool *>(flag) = true;
                    return G_SOURCE_REMOVE;
                },
                &late, nullptr);
            g_source_attach(timer, context);
        }
        while (!finished() && !late)
            g_main_context_iteration(context, TRUE);
        if (!finished()) {
            *expired = true;
            g_cancellable_cancel(cancellable);
            while (!finished())
                g_main_context_iteration(context, TRUE);
        }
        if (timer) {
            g_source_destroy(timer);
            g_source_unref(timer);
        }
        return results;
    }

    static void setTimedOut(GError **error)
    {
        g_set_error_literal(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT, "钥匙串服务没有响应，请稍后重试。");
    }

    std::chrono::milliseconds m_timeout;
    Clock::time_point m_deadline;
};

} // namespace

SecretServiceKeychain::SecretServiceKeychain(std::chrono::milliseconds timeout) : m_timeout(timeout) {}

std::expected<void, KeychainError> SecretServiceKeychain::save(const QString &secret, const QUuid &id)
{
    Operation op(m_timeout);
    g_autoptr(GError) error = nullptr;
    g_autoptr(SecretService) service = op.service(&error);
    if (!service)
        return std::unexpected(keychainError(error));

    const QByteArray account = accountText(id);
    g_autoptr(GHashTable) identity = attributes(&account);
    g_autoptr(GError) ignored = nullptr;
    op.call([&](GCancellable *c, GAsyncReadyCallback cb,
                gpointer d) { secret_service_clear(service, &kSchema, identity, c, cb, d); },
            [&](GAsyncResult *r, GError **e) { return secret_service_clear_finish(service, r, e); }, &ignored);

    const QByteArray data = secret.toUtf8();
    g_autoptr(SecretValue) value = secret_value_new(data.constData(), data.size(), "text/plain");
    // libsecret also records the schema name as "xdg:schema"; without it gnome-keyring would
    // add a generic one of its own when it reloads the keyring file.
    const bool stored = op.call(
        [&](GCancellable *c, GAsyncReadyCallback cb, gpointer d) {
            secret_service_store(service, &kSchema, identity, SECRET_COLLECTION_DEFAULT, account.constData(), value, c,
                                 cb, d);
        },
        [&](GAsyncResult *r, GError **e) { return secret_service_store_finish(service, r, e); }, &error);
    if (!stored)
        return std::unexpected(keychainError(error));
    return {};
}

std::optional<QString> SecretServiceKeychain::load(const QUuid &id)
{
    Operation op(m_timeout);
    g_autoptr(GError) error = nullptr;
    g_autoptr(SecretService) service = op.service(&error);
    if (!service)
        return std::nullopt;

    const QByteArray account = accountText(id);
    g_autoptr(GHashTable) identity = attributes(&account);
    g_autoptr(SecretValue) value =
        op.call([&](GCancellable *c, GAsyncReadyCallback cb,
                    gpointer d) { secret_service_lookup(service, &kSchema, identity, c, cb, d); },
                [&](GAsyncResult *r, GError **e) { return secret_service_lookup_finish(service, r, e); }, &error);
    if (!value)
        return std::nullopt;
    return decodeSecret(value);
}

void SecretServiceKeychain::remove(const QUuid &id)
{
    Operation op(m_timeout);
    g_autoptr(GError) error = nullptr;
    g_autoptr(SecretService) service = op.service(&error);
    if (!service)
        return;

    const QByteArray account = accountText(id);
    g_autoptr(GHashTable) identity = attributes(&account);
    op.call([&](GCancellable *c, GAsyncReadyCallback cb,
                gpointer d) { secret_service_clear(service, &kSchema, identity, c, cb, d); },
            [&](GAsyncResult *r, GError **e) { return secret_service_clear_finish(service, r, e); }, &error);
}

// libsecret's own search builds an object per item at a few round trips each, which costs
// as much as one load per account. Here: one search, every item's attributes asked for at
// once, then every secret in one call.
QHash<QUuid, QString> SecretServiceKeychain::loadAll()
{
    Operation op(m_timeout);
    g_autoptr(GError) error = nullptr;
    g_autoptr(SecretService) service = op.service(&error);
    if (!service)
        return {};

    // Items of a collection that is still locked are left out.
    g_autoptr(GHashTable) ours = attributes();
    g_auto(GStrv) paths = nullptr;
    g_auto(GStrv) locked = nullptr;
    op.call([&](GCancellable *c, GAsyncReadyCallback cb,
                gpointer d) { secret_service_search_for_dbus_paths(service, &kSchema, ours, c, cb, d); },
            [&](GAsyncResult *r, GError **e) {
                return secret_service_search_for_dbus_paths_finish(service, r, &paths, &locked, e);
            },
            &error);
    if (!paths || !*paths)
        return {};

    GDBusConnection *bus = g_dbus_proxy_get_connection(G_DBUS_PROXY(service));
    const char *name = g_dbus_proxy_get_name(G_DBUS_PROXY(service));
    QHash<QByteArrayView, QUuid> ids; // by item path
    std::vector<const gchar *> wanted;
    const bool read = op.callEach(
        g_strv_length(paths),
        [&](std::size_t i, GCancellable *c, GAsyncReadyCallback cb, gpointer d) {
            g_dbus_connection_call(bus, name, paths[i], "org.freedesktop.DBus.Properties", "Get",
                                   g_variant_new("(ss)", "org.freedesktop.Secret.Item", "Attributes"),
                                   G_VARIANT_TYPE("(v)"), G_DBUS_CALL_FLAGS_NONE, -1, c, cb, d);
        },
        [&](std::size_t i, GAsyncResult *r) {
            g_autoptr(GVariant) reply = g_dbus_connection_call_finish(bus, r, nullptr);
            if (!reply)
                return;
            g_autoptr(GVariant) found = nullptr;
            g_variant_get(reply, "(v)", &found);
            const char *account = nullptr;
            if (!g_variant_is_of_type(found, G_VARIANT_TYPE("a{ss}"))
                || !g_variant_lookup(found, "account", "&s", &account))
                return;
            // Only what load() would find under the same id.
            const QUuid id = QUuid::fromString(QUtf8StringView(account));
            if (id.isNull() || accountText(id) != account)
                return;
            ids.insert(QByteArrayView(paths[i]), id);
            wanted.push_back(paths[i]);
        },
        &error);
    if (!read || wanted.empty())
        return {};

    wanted.push_back(nullptr);
    g_autoptr(GHashTable) values = op.call(
        [&](GCancellable *c, GAsyncReadyCallback cb, gpointer d) {
            secret_service_get_secrets_for_dbus_paths(service, wanted.data(), c, cb, d);
        },
        [&](GAsyncResult *r, GError **e) { return secret_service_get_secrets_for_dbus_paths_finish(service, r, e); },
        &error);
    if (!values)
        return {};

    QHash<QUuid, QString> secrets;
    GHashTableIter it;
    gpointer path = nullptr;
    gpointer value = nullptr;
    g_hash_table_iter_init(&it, values);
    while (g_hash_table_iter_next(&it, &path, &value)) {
        const auto id = ids.constFind(QByteArrayView(static_cast<const char *>(path)));
        if (id == ids.cend())
            continue;
        if (std::optional<QString> secret = decodeSecret(static_cast<SecretValue *>(value)))
            secrets.insert(*id, std::move(*secret));
    }
    return secrets;
}
