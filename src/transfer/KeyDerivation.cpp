#include "transfer/KeyDerivation.h"

#include "transfer/VaultCrypto.h"

std::optional<QByteArray> KeyDerivation::derive(const QByteArray &password) const
{
    switch (function) {
    case Function::scrypt:
        return VaultCrypto::scrypt(password, salt, cost, parallelism);
    case Function::pbkdf2Sha1:
        return VaultCrypto::pbkdf2(password, salt, cost, VaultCrypto::Hash::sha1);
    case Function::pbkdf2Sha256:
        return VaultCrypto::pbkdf2(password, salt, cost, VaultCrypto::Hash::sha256);
    case Function::argon2id:
        return VaultCrypto::argon2id(password, salt, cost, memoryKiB, parallelism);
    case Function::sha256:
        return VaultCrypto::sha256(password);
    }
    return std::nullopt;
}
