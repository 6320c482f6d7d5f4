#pragma once

#include <QtGlobal>

// How much key-derivation work writing spends and reading accepts. A file names its own
// costs, so reading caps them: a hostile file must not claim gigabytes of memory or hours.
struct KdfPolicy
{
    quint64 scryptN = 1 << 15; // what Aegis writes: 32 MiB at r = 8
    quint64 maxScryptN = 1 << 17;
    quint64 maxScryptP = 4;
    quint64 maxPasswordSlots = 4;
    quint64 twoFasIterations = 10000; // fixed by the 2FAS format
    quint64 maxPbkdf2Iterations = 1'000'000; // andOTP writes about 150,000
    quint64 maxArgon2MemoryKiB = 1 << 20; // libsodium's "sensitive" level, 1 GiB
    quint64 maxArgon2WorkKiB = quint64(4) << 20; // memory times passes, that level's too
};
