#pragma once

#include "store/KeychainStore.h"

#include <chrono>

// The keychain on the freedesktop Secret Service (gnome-keyring, KWallet, KeePassXC)
// through libsecret: schema "com.local.Corvane", attributes service = "com.local.Corvane"
// and account = the upper-case UUID text, default collection, label = the UUID text.
// A call the daemon does not answer within `timeout` fails instead of blocking the
// panel; an unlock prompt shown to the user is waited for.
class SecretServiceKeychain : public KeychainStore
{
public:
    explicit SecretServiceKeychain(std::chrono::milliseconds timeout = std::chrono::seconds(5));

    std::expected<void, KeychainError> save(const QString &secret, const QUuid &id) override;
    std::optional<QString> load(const QUuid &id) override;
    void remove(const QUuid &id) override;
    QHash<QUuid, QString> loadAll() override;

private:
    std::chrono::milliseconds m_timeout;
};
