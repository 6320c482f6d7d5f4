#pragma once

#include <QString>

// The code engine's only error: the secret is not usable Base32 (or the account's
// period, digits or the date are outside what a code can be computed for).
class TOTPError
{
public:
    static const TOTPError invalidSecret;

    // The text the views show for a failed add.
    QString description() const;

    bool operator==(const TOTPError &) const = default;

private:
    TOTPError() = default;
};
