#pragma once

#include <QString>

#include <optional>

// The hash under an account's HMAC. SHA-1 is what nearly every service uses and what an
// account without a stated algorithm gets.
enum class HashAlgorithm {
    Sha1,
    Sha256,
    Sha512,
};

// "SHA1", "SHA256" or "SHA512": the spelling links and the stored document use.
QString algorithmName(HashAlgorithm algorithm);

// The algorithm such a name stands for, in any letter case; absent for any other text.
std::optional<HashAlgorithm> algorithmFromName(QStringView name);
