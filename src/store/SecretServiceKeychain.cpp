#include "store/SecretServiceKeychain.h"

#include "engine/Logging.h"
#include "store/TokenAccount.h"

#include <QAbstractEventDispatcher>
#include <QByteArrayView>
#include <QPointer>
#include <QStringDecoder>

// For the item-path calls (secret-paths.h), unchanged since libsecret 0.7.
#define SECRET_API_SUBJECT_TO_CHANGE
#include <libsecret/secret.h>

#include <memory>
#include <utility>
#include <vector>

using namespace Qt::Literals::StringLiterals;
using Status = KeychainStore::Status;

namespace {

constexpr char kService[] = "com.local.Corvane";
constexpr char kSecretsName[] = "org.freedesktop.secrets";

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

KeychainError refusal(Status status)
{
    const QString domain = u"org.freedesktop.Secret.Error"_s;
    if (status == Status::Locked)
        return KeychainError(domain, 1, u"钥匙串已锁定，无法读取或保存密钥。"_s);
    return KeychainError(domain, 2, u"没有默认钥匙串，无法保存密钥。"_s);
}

// libsecret's service object keeps delivering D-Bus signals to the main context that was
// current when it was created, so the bounded calls all run on this one context, which lives
// as long as the process. Being private, it keeps Qt's event loop from running inside them.
GMainContext *privateContext()
{
    static GMainContext *const context = g_main_context_new();
    return context;
}

using Ready = std::function<void(GAsyncResult *)>;

void onReady(GObject *, GAsyncResult *result, gpointer data)
{
    const std::unique_ptr<Ready> next(static_cast<Ready *>(data));
    (*next)(result);
}

// The calls of one keychain operation, each started from the callback of the one before, on
// the thread-default context. Past the deadline, if there is one, the calls still running are
// cancelled and fail as timed out.
class Calls
{
public:
    explicit Calls(std::optional<std::chrono::milliseconds> timeout) : m_cancellable(g_cancellable_new())
    {
        if (!timeout)
            return;
        m_timer = g_timeout_source_new(guint(timeout->count()));
        g_source_set_callback(
            m_timer,
            [](gpointer data) -> gboolean {
                auto *calls = static_cast<Calls *>(data);
                calls->m_timedOut = true;
                g_cancellable_cancel(calls->m_cancellable);
                return G_SOURCE_REMOVE;
            },
            this, nullptr);
        g_source_attach(m_timer, g_main_context_get_thread_default());
    }
    ~Calls()
    {
        if (m_timer) {
            g_source_destroy(m_timer);
            g_source_unref(m_timer);
        }
        g_object_unref(m_cancellable);
    }
    Calls(const Calls &) = delete;
    Calls &operator=(const Calls &) = delete;

    // start(cancellable, callback, data) begins one asynchronous call; `next` takes its result.
    template <typename Start> void call(Start start, Ready next)
    {
        start(m_cancellable, onReady, new Ready(std::move(next)));
    }

    KeychainError error(const GError *error) const
    {
        if (m_timedOut && g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED))
            return KeychainError(QString::fromUtf8(g_quark_to_string(G_IO_ERROR)), G_IO_ERROR_TIMED_OUT,
                                 u"钥匙串服务没有响应，请稍后重试。"_s);
        return keychainError(error);
    }

private:
    GCancellable *m_cancellable;
    GSource *m_timer = nullptr;
    bool m_timedOut = false;
};
using CallsPtr = std::shared_ptr<Calls>;
using Finish = std::function<void()>;

// Runs `body(calls, finish)`, which starts the operation's calls and calls `finish` when it is
// over. Asynchronous operations return at once; the others iterate the private context until
// the operation finished.
template <typename Body> void drive(bool async, std::optional<std::chrono::milliseconds> timeout, Body body)
{
    if (async) {
        body(std::make_shared<Calls>(timeout), [] {});
        return;
    }
    GMainContext *context = privateContext();
    g_main_context_push_thread_default(context);
    const auto finished = std::make_shared<bool>(false);
    body(std::make_shared<Calls>(timeout), [finished] { *finished = true; });
    while (!*finished)
        g_main_context_iteration(context, TRUE);
    g_main_context_pop_thread_default(context);
}

using ServicePtr = std::shared_ptr<SecretService>;

// The service with a session open, and the state of its default collection.
struct Session
{
    ServicePtr service;
    QByteArray collection; // empty: no default collection
    bool locked = false;

    Status status() const
    {
        if (collection.isEmpty())
            return Status::NoDefaultKeyring;
        return locked ? Status::Locked : Status::Available;
    }
};
using Opened = std::function<void(std::expected<Session, KeychainError>)>;

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

// Opens the service and reads its default collection's path and lock, without prompting.
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

using Found = std::function<void(std::expected<KeychainStore::Secrets, KeychainError>)>;

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

bool qtDispatchesGLib()
{
    const QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    return dispatcher && dispatcher->inherits("QEventDispatcherGlib");
}

} // namespace

SecretServiceKeychain::SecretServiceKeychain(std::chrono::milliseconds timeout, QObject *parent)
    : KeychainStore(parent),
      m_timeout(timeout),
      m_async(qtDispatchesGLib())
{
    if (!m_async) {
        qCWarning(lcKeychain) << "the event loop does not run GLib's: keychain calls wait, each for at most"
                              << m_timeout.count() << "ms";
        return;
    }
    QPointer self(this);
    g_bus_get(G_BUS_TYPE_SESSION, nullptr, onReady, new Ready([self](GAsyncResult *r) {
                  g_autoptr(GError) error = nullptr;
                  g_autoptr(GDBusConnection) bus = g_bus_get_finish(r, &error);
                  if (!bus)
                      qCWarning(lcKeychain) << "no session bus:" << error->message;
                  else if (self)
                      self->watchService(bus);
              }));
}

SecretServiceKeychain::~SecretServiceKeychain()
{
    if (!m_bus)
        return;
    for (const unsigned id : m_subscriptions)
        g_dbus_connection_signal_unsubscribe(m_bus, id);
    g_object_unref(m_bus);
}

// A new owner of the service's name, a collection created, locked or unlocked, an item
// created: missing secrets may have become readable.
void SecretServiceKeychain::watchService(GDBusConnection *bus)
{
    m_bus = G_DBUS_CONNECTION(g_object_ref(bus));
    m_subscriptions[0] = g_dbus_connection_signal_subscribe(
        bus, "org.freedesktop.DBus", "org.freedesktop.DBus", "NameOwnerChanged", "/org/freedesktop/DBus", kSecretsName,
        G_DBUS_SIGNAL_FLAGS_NONE,
        [](GDBusConnection *, const gchar *, const gchar *, const gchar *, const gchar *, GVariant *, gpointer data) {
            auto *self = static_cast<SecretServiceKeychain *>(data);
            secret_service_disconnect(); // its session belonged to the previous owner
            self->m_unreachable.reset();
            Q_EMIT self->changed();
        },
        this, nullptr);
    m_subscriptions[1] = g_dbus_connection_signal_subscribe(
        bus, kSecretsName, nullptr, nullptr, nullptr, nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
        [](GDBusConnection *, const gchar *, const gchar *, const gchar *, const gchar *member, GVariant *,
           gpointer data) {
            static const QList<QByteArrayView> relevant{"ItemCreated", "CollectionCreated", "CollectionChanged",
                                                        "PropertiesChanged"};
            if (relevant.contains(QByteArrayView(member)))
                Q_EMIT static_cast<SecretServiceKeychain *>(data)->changed();
        },
        this, nullptr);
}

// What a call found: the default keyring's state, or the service unreachable and why.
void SecretServiceKeychain::noteFound(Status status, const KeychainError *failure)
{
    if (status != Status::Unreachable || !failure) {
        setStatus(status);
        return;
    }
    qCWarning(lcKeychain) << "the Secret Service cannot be reached:" << failure->description();
    m_unreachable = *failure;
    setStatus(Status::Unreachable);
}

void SecretServiceKeychain::save(const QString &secret, const QUuid &id, std::function<void(SaveResult)> done)
{
    // Known unreachable: fail at once rather than wait for the bound again.
    if (status() == Status::Unreachable && m_unreachable)
        return done(std::unexpected(*m_unreachable));
    QPointer self(this);
    const auto account = std::make_shared<const QByteArray>(accountText(id));
    const auto data = std::make_shared<const QByteArray>(secret.toUtf8());
    drive(m_async, m_timeout, [self, id, done, account, data](const CallsPtr &calls, const Finish &finish) {
        const auto end = [self, id, done, finish](SaveResult saved, Status status) {
            if (!saved)
                qCWarning(lcKeychain) << "cannot store the secret of" << id.toString() << ":"
                                      << saved.error().description();
            if (self) {
                self->noteFound(status, saved ? nullptr : &saved.error());
                done(std::move(saved));
            }
            finish();
        };
        openDefault(calls, [calls, end, account, data](std::expected<Session, KeychainError> session) {
            if (!session)
                return end(std::unexpected(session.error()), Status::Unreachable);
            if (session->status() != Status::Available)
                return end(std::unexpected(refusal(session->status())), session->status());
            const ServicePtr service = session->service;
            calls->call(
                [&](GCancellable *c, GAsyncReadyCallback cb, gpointer d) {
                    g_autoptr(GHashTable) identity = attributes(account.get());
                    secret_service_clear(service.get(), &kSchema, identity, c, cb, d);
                },
                [calls, service, end, account, data](GAsyncResult *r) {
                    g_autoptr(GError) ignored = nullptr;
                    secret_service_clear_finish(service.get(), r, &ignored);
                    calls->call(
                        [&](GCancellable *c, GAsyncReadyCallback cb, gpointer d) {
                            g_autoptr(GHashTable) identity = attributes(account.get());
                            g_autoptr(SecretValue) value =
                                secret_value_new(data->constData(), data->size(), "text/plain");
                            // libsecret also records the schema name as "xdg:schema"; without it
                            // gnome-keyring would add a generic one when it reloads the keyring file.
                            secret_service_store(service.get(), &kSchema, identity, SECRET_COLLECTION_DEFAULT,
                                                 account->constData(), value, c, cb, d);
                        },
                        [calls, service, end](GAsyncResult *r) {
                            g_autoptr(GError) error = nullptr;
                            if (!secret_service_store_finish(service.get(), r, &error))
                                return end(std::unexpected(calls->error(error)), Status::Available);
                            end({}, Status::Available);
                        });
                });
        });
    });
}

void SecretServiceKeychain::remove(const QUuid &id, std::function<void(bool removed)> done)
{
    drive(m_async, m_timeout, [id, done](const CallsPtr &calls, const Finish &finish) {
        const auto end = [id, done, finish](bool removed, const QString &why) {
            if (!removed)
                qCWarning(lcKeychain) << "cannot delete the item of" << id.toString() << ":" << why;
            if (done)
                done(removed);
            finish();
        };
        openDefault(calls, [id, calls, end](std::expected<Session, KeychainError> session) {
            if (!session)
                return end(false, session.error().description());
            // A locked collection's items would be left in place without a word.
            if (session->status() == Status::Locked)
                return end(false, refusal(Status::Locked).description());
            const ServicePtr service = session->service;
            calls->call(
                [&](GCancellable *c, GAsyncReadyCallback cb, gpointer d) {
                    const QByteArray account = accountText(id);
                    g_autoptr(GHashTable) identity = attributes(&account);
                    secret_service_clear(service.get(), &kSchema, identity, c, cb, d);
                },
                [calls, service, end](GAsyncResult *r) {
                    g_autoptr(GError) error = nullptr;
                    secret_service_clear_finish(service.get(), r, &error); // false without error: nothing to delete
                    end(!error, error ? calls->error(error).description() : QString());
                });
        });
    });
}

void SecretServiceKeychain::read(const QList<QUuid> &ids, std::function<void(ReadResult)> done)
{
    QPointer self(this);
    drive(m_async, m_timeout, [self, ids, done](const CallsPtr &calls, const Finish &finish) {
        const auto deliver = [self, done, finish](ReadResult result, Status status) {
            if (self) {
                self->noteFound(status, result ? nullptr : &result.error());
                done(std::move(result));
            }
            finish();
        };
        openDefault(calls, [calls, ids, deliver](std::expected<Session, KeychainError> session) {
            if (!session)
                return deliver(std::unexpected(session.error()), Status::Unreachable);
            if (session->status() != Status::Available)
                return deliver(std::unexpected(refusal(session->status())), session->status());
            const Found found = [deliver](std::expected<Secrets, KeychainError> secrets) {
                deliver(std::move(secrets), secrets ? Status::Available : Status::Unreachable);
            };
            searchEach(calls, session->service, ids, found);
        });
    });
}

void SecretServiceKeychain::unlock()
{
    if (m_unlocking || (status() != Status::Locked && status() != Status::NoDefaultKeyring))
        return;
    m_unlocking = true;
    QPointer self(this);
    // No deadline: the prompt waits for the person.
    drive(m_async, std::nullopt, [self](const CallsPtr &calls, const Finish &finish) {
        const auto end = [self, finish](bool unlocked, const GError *error) {
            if (error)
                qCWarning(lcKeychain) << "the keychain was not unlocked:" << error->message;
            if (self) {
                self->m_unlocking = false;
                Q_EMIT self->unlockFinished(unlocked);
            }
            finish();
        };
        openDefault(calls, [calls, end](std::expected<Session, KeychainError> opened) {
            if (!opened) {
                qCWarning(lcKeychain) << "cannot unlock:" << opened.error().description();
                return end(false, nullptr);
            }
            const Session session = *opened;
            if (session.status() == Status::Available)
                return end(true, nullptr);
            if (session.status() == Status::NoDefaultKeyring) {
                return calls->call(
                    [&](GCancellable *c, GAsyncReadyCallback cb, gpointer d) {
                        secret_collection_create(session.service.get(), "默认钥匙串", SECRET_COLLECTION_DEFAULT,
                                                 SECRET_COLLECTION_CREATE_NONE, c, cb, d);
                    },
                    [end](GAsyncResult *r) {
                        g_autoptr(GError) error = nullptr;
                        g_autoptr(SecretCollection) created = secret_collection_create_finish(r, &error);
                        end(created != nullptr, error);
                    });
            }
            calls->call(
                [&](GCancellable *c, GAsyncReadyCallback cb, gpointer d) {
                    const gchar *paths[] = {session.collection.constData(), nullptr};
                    secret_service_unlock_dbus_paths(session.service.get(), paths, c, cb, d);
                },
                [session, end](GAsyncResult *r) {
                    g_autoptr(GError) error = nullptr;
                    g_auto(GStrv) unlocked = nullptr;
                    const gint count =
                        secret_service_unlock_dbus_paths_finish(session.service.get(), r, &unlocked, &error);
                    end(count > 0, error); // none: the person dismissed the prompt
                });
        });
    });
}
