#include "store/SecretServiceCalls.h"

#include "engine/Logging.h"
#include "store/TokenAccount.h"

#include <QStringDecoder>

#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace SecretServiceCalls {

const char kService[] = "com.local.Corvane";
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
    return TokenAccount::idText(id).toUtf8();
}

GHashTable *attributes(const QByteArray *account)
{
    GHashTable *table = g_hash_table_new(g_str_hash, g_str_equal);
    g_hash_table_insert(table, const_cast<char *>("service"), const_cast<char *>(kService));
    if (account)
        g_hash_table_insert(table, const_cast<char *>("account"), const_cast<char *>(account->constData()));
    return table;
}

namespace {

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

// The secrets of the given items, by the id their account attribute names.
void readSecrets(const CallsPtr &calls, const ServicePtr &service, std::shared_ptr<QHash<QByteArray, QUuid>> ids,
                 Found next)
{
    if (ids->isEmpty())
        return next(KeychainStore::Secrets());
    auto paths = std::make_shared<std::vector<const gchar *>>();
    for (const QByteArray &path : ids->keys())
        paths->push_back(path.constData()); // the keys are shared with `ids`, which outlives the call
    paths->push_back(nullptr);
    calls->call([&](GCancellable *c, GAsyncReadyCallback cb,
                    gpointer d) { secret_service_get_secrets_for_dbus_paths(service.get(), paths->data(), c, cb, d); },
                [calls, service, ids, paths, next](GAsyncResult *r) {
                    g_autoptr(GError) error = nullptr;
                    g_autoptr(GHashTable) values =
                        secret_service_get_secrets_for_dbus_paths_finish(service.get(), r, &error);
                    if (!values)
                        return next(std::unexpected(calls->error(error)));
                    KeychainStore::Secrets secrets;
                    GHashTableIter it;
                    gpointer path = nullptr;
                    gpointer value = nullptr;
                    g_hash_table_iter_init(&it, values);
                    while (g_hash_table_iter_next(&it, &path, &value)) {
                        const auto id = ids->constFind(QByteArray(static_cast<const char *>(path)));
                        if (id == ids->cend())
                            continue;
                        if (std::optional<QString> secret = decodeSecret(static_cast<SecretValue *>(value)))
                            secrets.insert(*id, std::move(*secret));
                        else
                            qCWarning(lcKeychain) << "item" << id->toString() << "does not hold UTF-8 text";
                    }
                    next(std::move(secrets));
                });
}

} // namespace

KeychainError keychainError(const GError *error)
{
    g_autoptr(GError) copy = g_error_copy(error);
    g_dbus_error_strip_remote_error(copy); // drops the "GDBus.Error:<name>: " prefix
    return KeychainError(QString::fromUtf8(g_quark_to_string(copy->domain)), copy->code,
                         QString::fromUtf8(copy->message));
}

GMainContext *privateContext()
{
    static GMainContext *const context = g_main_context_new();
    return context;
}

void onReady(GObject *, GAsyncResult *result, gpointer data)
{
    const std::unique_ptr<Ready> next(static_cast<Ready *>(data));
    (*next)(result);
}

namespace {

void readLocked(const CallsPtr &calls, Session session, Opened next)
{
    GDBusConnection *bus = g_dbus_proxy_get_connection(G_DBUS_PROXY(session.service.get()));
    calls->call(
        [&](GCancellable *c, GAsyncReadyCallback cb, gpointer d) {
            g_dbus_connection_call(bus, g_dbus_proxy_get_name(G_DBUS_PROXY(session.service.get())),
                                   session.collection.constData(), "org.freedesktop.DBus.Properties", "Get",
                                   g_variant_new("(ss)", "org.freedesktop.Secret.Collection", "Locked"),
                                   G_VARIANT_TYPE("(v)"), G_DBUS_CALL_FLAGS_NONE, -1, c, cb, d);
        },
        [calls, session, next, bus](GAsyncResult *r) mutable {
            g_autoptr(GError) error = nullptr;
            g_autoptr(GVariant) reply = g_dbus_connection_call_finish(bus, r, &error);
            if (!reply)
                return next(std::unexpected(calls->error(error)));
            g_autoptr(GVariant) value = nullptr;
            g_variant_get(reply, "(v)", &value);
            session.locked = g_variant_is_of_type(value, G_VARIANT_TYPE_BOOLEAN) && g_variant_get_boolean(value);
            next(std::move(session));
        });
}

} // namespace

void openDefault(const CallsPtr &calls, Opened next)
{
    calls->call([](GCancellable *c, GAsyncReadyCallback cb,
                   gpointer d) { secret_service_get(SECRET_SERVICE_OPEN_SESSION, c, cb, d); },
                [calls, next](GAsyncResult *r) {
                    g_autoptr(GError) error = nullptr;
                    SecretService *opened = secret_service_get_finish(r, &error);
                    if (!opened)
                        return next(std::unexpected(calls->error(error)));
                    const ServicePtr service(opened, g_object_unref);
                    calls->call(
                        [&](GCancellable *c, GAsyncReadyCallback cb, gpointer d) {
                            secret_service_read_alias_dbus_path(service.get(), SECRET_COLLECTION_DEFAULT, c, cb, d);
                        },
                        [calls, next, service](GAsyncResult *r) {
                            g_autoptr(GError) error = nullptr;
                            g_autofree gchar *path =
                                secret_service_read_alias_dbus_path_finish(service.get(), r, &error);
                            if (error)
                                return next(std::unexpected(calls->error(error)));
                            if (!path || g_str_equal(path, "/"))
                                return next(Session{service, {}, false});
                            readLocked(calls, Session{service, QByteArray(path), false}, next);
                        });
                });
}

// libsecret's own search builds an object per item at a few round trips each. Here: one
// search per id, all sent at once, then the secrets of what they found in one call.
void searchEach(const CallsPtr &calls, const ServicePtr &service, const QList<QUuid> &wanted, Found next)
{
    auto ids = std::make_shared<QHash<QByteArray, QUuid>>();
    auto left = std::make_shared<qsizetype>(wanted.size());
    if (wanted.isEmpty())
        return next(KeychainStore::Secrets());
    for (const QUuid &id : wanted) {
        calls->call(
            [&](GCancellable *c, GAsyncReadyCallback cb, gpointer d) {
                const QByteArray account = accountText(id);
                g_autoptr(GHashTable) identity = attributes(&account);
                secret_service_search_for_dbus_paths(service.get(), &kSchema, identity, c, cb, d);
            },
            [calls, service, ids, left, id, next](GAsyncResult *r) {
                g_autoptr(GError) error = nullptr;
                g_auto(GStrv) paths = nullptr;
                g_auto(GStrv) locked = nullptr;
                if (!secret_service_search_for_dbus_paths_finish(service.get(), r, &paths, &locked, &error)) {
                    if (*left > 0) {
                        *left = 0; // report the first failure only
                        next(std::unexpected(calls->error(error)));
                    }
                    return;
                }
                if (paths && paths[0])
                    ids->insert(QByteArray(paths[0]), id);
                if (*left > 0 && --*left == 0)
                    readSecrets(calls, service, ids, next);
            });
    }
}

} // namespace SecretServiceCalls
