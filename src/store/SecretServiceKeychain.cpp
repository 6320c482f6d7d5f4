#include "store/SecretServiceKeychain.h"

#include "engine/Logging.h"
#include "store/SecretServiceCalls.h"
#include "store/TokenAccount.h"

#include <QAbstractEventDispatcher>
#include <QByteArrayView>
#include <QCoreApplication>
#include <QPointer>
#include <QStringDecoder>

#include <memory>
#include <utility>
#include <vector>

using namespace Qt::Literals::StringLiterals;
using Status = KeychainStore::Status;
using namespace SecretServiceCalls;

namespace {

constexpr char kSecretsName[] = "org.freedesktop.secrets";

KeychainError refusal(Status status)
{
    const QString domain = u"org.freedesktop.Secret.Error"_s;
    if (status == Status::Locked)
        return KeychainError(
            domain, 1, QCoreApplication::translate("SecretServiceKeychain", "钥匙串已锁定，无法读取或保存密钥。"));
    return KeychainError(domain, 2,
                         QCoreApplication::translate("SecretServiceKeychain", "没有默认钥匙串，无法保存密钥。"));
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
                const QByteArray label = tr("默认钥匙串").toUtf8();
                return calls->call(
                    [&](GCancellable *c, GAsyncReadyCallback cb, gpointer d) {
                        secret_collection_create(session.service.get(), label.constData(), SECRET_COLLECTION_DEFAULT,
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
