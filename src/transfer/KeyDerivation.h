#pragma once

#include <QByteArray>
#include <QDataStream>
#include <QHash>

#include <optional>

// How a backup format turns its password into a 256-bit key: the function, its costs and
// its salt. Plain data, so that the derivation can run on another thread and cross the
// transfer layer's interface; derive() itself lives with the cryptography, behind it.
struct KeyDerivation
{
    enum class Function {
        scrypt,
        pbkdf2Sha1,
        pbkdf2Sha256,
        argon2id,
        sha256, // andOTP's oldest backups: a bare hash of the password
    };

    Function function = Function::sha256;
    QByteArray salt;
    quint64 cost = 1; // scrypt's N, PBKDF2's iterations, Argon2's passes
    quint64 parallelism = 1; // scrypt's p, Argon2's lanes
    quint64 memoryKiB = 0; // Argon2's

    bool operator==(const KeyDerivation &) const = default;

    // The key, or absent when the parameters are outside what the function takes.
    std::optional<QByteArray> derive(const QByteArray &password) const;
};

inline size_t qHash(const KeyDerivation &derivation, size_t seed = 0)
{
    return qHashMulti(seed, int(derivation.function), derivation.salt, derivation.cost, derivation.parallelism,
                      derivation.memoryKiB);
}

// How a derivation crosses the pipe to the process that runs it (KeyDeriver).
inline QDataStream &operator<<(QDataStream &out, const KeyDerivation &derivation)
{
    return out << int(derivation.function) << derivation.salt << derivation.cost << derivation.parallelism
               << derivation.memoryKiB;
}

inline QDataStream &operator>>(QDataStream &in, KeyDerivation &derivation)
{
    int function = 0;
    in >> function >> derivation.salt >> derivation.cost >> derivation.parallelism >> derivation.memoryKiB;
    derivation.function = KeyDerivation::Function(function);
    return in;
}

// The keys derived so far for one password, absent for a derivation that failed.
using DerivedKeyTable = QHash<KeyDerivation, std::optional<QByteArray>>;
