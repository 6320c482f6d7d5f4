#pragma once

#include "engine/OtpParameters.h"
#include "engine/TOTPError.h"

#include <QByteArray>
#include <QString>

#include <expected>
#include <optional>

// RFC 4226 HOTP and RFC 6238 TOTP over HMAC-SHA1, -SHA256 or -SHA512 with RFC 4226 truncation, printed in
// decimal or, for Steam Guard accounts, in the Steam alphabet.
namespace TOTPGenerator {

// The longest secret, in normalised characters, an account takes. Real ones have at most a
// few hundred; anything longer is a pasted document, not a key.
constexpr qsizetype maximumSecretLength = 1024;

// Upper-cases the text (full Unicode mapping) and drops every White_Space character,
// "-" and "=" wherever they stand.
QString normalize(const QString &text);

// normalize's result, or secretTooLong when it would be longer than maximumSecretLength.
// A long text is turned away by a count before any normalising.
std::expected<QString, TOTPError> normalizeBounded(const QString &text);

// RFC 4648 Base32 of a normalised-or-not text; absent when a character is outside the
// alphabet. Trailing bits are dropped unchecked, so the result may be empty.
std::optional<QByteArray> decodeBase32(const QString &text);

// The code for the time step containing `date` (seconds since the epoch), `digits`
// characters long. invalidSecret for a secret that decodes to no byte, and for a period,
// digit count or date outside 1.., 0..9 (1..9 for Steam) and a counter that fits 64 bits.
std::expected<QString, TOTPError> code(const QString &secret, double date, qint64 period, qint64 digits,
                                       HashAlgorithm algorithm = HashAlgorithm::Sha1, bool steam = false);

// The code an account's parameters give at `date`; for HOTP the code of its stored counter,
// whatever the date (nothing here advances a counter).
std::expected<QString, TOTPError> code(const QString &secret, double date, const OtpParameters &otp);

// The code for one 64-bit counter value: RFC 4226 HOTP, and the step under every time-based
// code. invalidSecret for a secret that decodes to no byte and a digit count outside 0..9
// (1..9 for Steam).
std::expected<QString, TOTPError> counterCode(const QString &secret, quint64 counter, qint64 digits,
                                              HashAlgorithm algorithm = HashAlgorithm::Sha1, bool steam = false);

} // namespace TOTPGenerator
