#pragma once

#include "engine/ImportedToken.h"
#include "transfer/VaultKey.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

// The keychain item automatic backups live on: the vault's master key and password slot, so
// that a backup needs neither the password nor a key derivation, and a key for the digest
// that tells whether the accounts changed since the last backup. Stored as one item of its
// own beside the accounts' items.
struct BackupKey
{
    VaultKey vault;
    QByteArray digestKey;

    // The keychain item's id: no account ever has it.
    static const QUuid itemId;

    // A fresh digest key beside the vault's key.
    static BackupKey withNewDigestKey(const VaultKey &vault);
    // The item's text; absent for text this did not write.
    static std::optional<BackupKey> fromText(const QString &text);
    QString toText() const;

    // A keyed digest of the accounts, in order: equal digests, equal accounts. Safe to keep
    // outside the keychain, since without the key it tells nothing of the secrets.
    QByteArray digest(const QList<ImportedToken> &tokens) const;
};
