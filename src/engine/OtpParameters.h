#pragma once

#include "engine/HashAlgorithm.h"

#include <QString>
#include <QtGlobal>

#include <optional>

// How an account's codes are made: from the time (TOTP), from a counter (HOTP), or Steam
// Guard's time-based letters.
enum class OtpKind {
    Totp,
    Hotp,
    Steam,
};

// "totp", "hotp" or "steam": the spelling links, the stored record and `--inspect` use.
QString kindName(OtpKind kind);
// The kind such a name stands for, in any letter case; absent for any other text.
std::optional<OtpKind> kindFromName(QStringView name);

// Everything but the secret that decides an account's codes.
struct OtpParameters
{
    qint64 period = 30; // seconds; TOTP and Steam only
    qint64 digits = 6;
    HashAlgorithm algorithm = HashAlgorithm::Sha1;
    OtpKind kind = OtpKind::Totp;
    // HOTP only: the counter of the next code to use, as a link's "counter=" means it.
    quint64 counter = 0;

    bool isSteam() const { return kind == OtpKind::Steam; }
    bool isHotp() const { return kind == OtpKind::Hotp; }

    bool operator==(const OtpParameters &) const = default;
};

size_t qHash(const OtpParameters &otp, size_t seed = 0) noexcept;
