#pragma once

#include <QtGlobal>

// How much key-derivation work writing spends and reading accepts. A file names its own
// scrypt cost, so reading caps it: a hostile file must not claim gigabytes of memory.
struct KdfPolicy
{
    quint64 scryptN = 1 << 15; // what Aegis writes: 32 MiB at r = 8
    quint64 maxScryptN = 1 << 17;
    quint64 maxScryptP = 4;
    quint64 maxPasswordSlots = 4;
    quint64 twoFasIterations = 10000; // fixed by the 2FAS format
};
