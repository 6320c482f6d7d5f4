#pragma once

#include "engine/ImportedToken.h"

#include <QString>

#include <optional>

// Reads otpauth://totp/ links (the Key URI format).
namespace OTPAuthParser {

// The token the link describes, or absent when the text is not an acceptable TOTP link.
std::optional<ImportedToken> parse(const QString &text);

} // namespace OTPAuthParser
