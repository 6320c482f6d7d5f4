#pragma once

#include "engine/ImportedToken.h"
#include "engine/LinkError.h"

#include <QString>

#include <expected>

// Reads otpauth://totp/ and otpauth://hotp/ links (the Key URI format) and Steam Guard's
// otpauth://steam/.
namespace OTPAuthParser {

// The token the link describes, with its name and issuer cleaned. An unknown algorithm
// is refused with a message; any other unusable text without one.
std::expected<ImportedToken, LinkError> parse(const QString &text);

// The name and issuer (only) of any otpauth URL, also one parse refuses, so that a refusal can
// say which account it is; absent for a text that is not an otpauth URL.
std::optional<ImportedToken> nameOf(const QString &text);

} // namespace OTPAuthParser
