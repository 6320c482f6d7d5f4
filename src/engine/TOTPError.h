#pragma once

#include <QString>

// The code engine's errors: the secret is not usable Base32 (or the account's period,
// digits or the date are outside what a code can be computed for), or it is longer than
// any account takes.
class TOTPError
{
public:
    static const TOTPError invalidSecret;
    static const TOTPError secretTooLong;

    // The text the views show for a failed add.
    QString description() const;

    bool operator==(const TOTPError &) const = default;

private:
    enum class Kind {
        InvalidSecret,
        SecretTooLong,
    };
    explicit TOTPError(Kind kind) : m_kind(kind) {}

    Kind m_kind;
};
