#pragma once

#include "store/KeychainStore.h"

#include <chrono>
#include <optional>

typedef struct _GDBusConnection GDBusConnection;

// The keychain on the freedesktop Secret Service (gnome-keyring, KWallet, KeePassXC)
// through libsecret: schema "com.local.Corvane", attributes service = "com.local.Corvane"
// and account = the upper-case UUID text, default collection, label = the UUID text.
//
// Where Qt's event loop dispatches GLib's default main context, every call is asynchronous on
// that context and never holds up the panel; one the service does not answer within `timeout`
// fails. Elsewhere calls run to completion on a private context, cut off after the same bound.
// A save never prompts: a locked keyring is unlocked only through `unlock`.
class SecretServiceKeychain : public KeychainStore
{
    Q_OBJECT

public:
    explicit SecretServiceKeychain(std::chrono::milliseconds timeout = std::chrono::seconds(5),
                                   QObject *parent = nullptr);
    ~SecretServiceKeychain() override;

    void save(const QString &secret, const QUuid &id, std::function<void(SaveResult)> done) override;
    void remove(const QUuid &id, std::function<void(bool removed)> done = {}) override;
    void read(const QList<QUuid> &ids, std::function<void(ReadResult)> done) override;
    void unlock() override;

    // Whether calls run asynchronously on the event loop (Qt dispatches GLib's default context).
    bool isAsynchronous() const { return m_async; }

private:
    void watchService(GDBusConnection *bus);
    void noteFound(Status status, const KeychainError *failure);

    std::chrono::milliseconds m_timeout;
    bool m_async;
    bool m_unlocking = false;
    std::optional<KeychainError> m_unreachable; // why the service could not be reached, until it answers again
    GDBusConnection *m_bus = nullptr;
    unsigned m_subscriptions[2] = {0, 0};
};
