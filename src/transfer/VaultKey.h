#pragma once

#include <QByteArray>

// What an Aegis vault needs to be written again without its password: the master key that
// seals the database, and the password slot (Aegis's JSON object) holding that key wrapped
// under the password's key. Both are secret enough to live only in the keychain.
struct VaultKey
{
    QByteArray masterKey;
    QByteArray slot; // compact JSON

    bool operator==(const VaultKey &) const = default;
};
