#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

#include <optional>

// The text rules of URIs that links are read by, strict where QUrl guesses.
namespace UriText {

// RFC 3986 lets a URI hold only these characters unescaped. QUrl's strict mode still
// accepts unescaped non-ASCII letters, so the set is checked here.
bool isUriCharacter(QChar c);
// Percent-decoding that fails, rather than guessing, on a "%" without two hexadecimal
// digits after it and on escapes that do not form UTF-8. "+" stays "+".
std::optional<QString> percentDecoded(QStringView text);
// Optional sign, then ASCII digits only, within the signed 64-bit range.
std::optional<qint64> parseInt64(QStringView text);

} // namespace UriText
