#pragma once

#include "store/KeychainStore.h"

// For the item-path calls (secret-paths.h), unchanged since libsecret 0.7.
#define SECRET_API_SUBJECT_TO_CHANGE
#include <libsecret/secret.h>

#include <chrono>
#include <expected>
#include <functional>
#include <memory>
#include <optional>

#include <QCoreApplication>

// How the Secret Service keychain talks to libsecret: each operation is a chain of
// asynchronous calls bounded by a deadline, on Qt's loop or on a private context, and most
// begin by opening the service's default collection.
namespace SecretServiceCalls {

// Our items: service "com.local.Corvane", account the id's canonical text.
extern const char kService[];
extern const SecretSchema kSchema;
QByteArray accountText(const QUuid &id);
// The attributes naming our items, or the one item of `account`; the table borrows the
// strings: `account` must outlive it.
GHashTable *attributes(const QByteArray *account = nullptr);

// The GError as a keychain error: its domain, code and message.
KeychainError keychainError(const GError *error);

// libsecret's service object keeps delivering D-Bus signals to the main context that was
// current when it was created, so the bounded calls all run on this one context, which lives
// as long as the process. Being private, it keeps Qt's event loop from running inside them.
GMainContext *privateContext();

using Ready = std::function<void(GAsyncResult *)>;

// Hands a call's result to the `Ready` it was started with.
void onReady(GObject *, GAsyncResult *result, gpointer data);

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
                                 QCoreApplication::translate("SecretServiceCalls", "钥匙串服务没有响应，请稍后重试。"));
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

    KeychainStore::Status status() const
    {
        if (collection.isEmpty())
            return KeychainStore::Status::NoDefaultKeyring;
        return locked ? KeychainStore::Status::Locked : KeychainStore::Status::Available;
    }
};
using Opened = std::function<void(std::expected<Session, KeychainError>)>;

// Opens the service and reads its default collection's path and lock, without prompting.
void openDefault(const CallsPtr &calls, Opened next);

using Found = std::function<void(std::expected<KeychainStore::Secrets, KeychainError>)>;
// The readable secrets of the `wanted` ids that have an item; items whose data is not UTF-8
// are left out.
void searchEach(const CallsPtr &calls, const ServicePtr &service, const QList<QUuid> &wanted, Found next);

} // namespace SecretServiceCalls
