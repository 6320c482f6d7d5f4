#pragma once

#include "engine/ImportedToken.h"
#include "engine/LinkError.h"
#include "transfer/ImportBatch.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <stop_token>

// Plain text with one otpauth link per line: what most authenticators export unencrypted
// and what a QR code of one account holds.
namespace OtpauthLinks {

// otpauth://totp/Issuer:name?secret=...&issuer=...&algorithm=...&digits=...&period=...
// (otpauth://steam/... for Steam Guard accounts, as Aegis and 2FAS write them)
QString link(const ImportedToken &token);

// One link per line, each ended by a line break; an account's groups, note and favourite flag
// ride along as Ente's "codeDisplay" (tags, note, pinned), which Ente reads back and others ignore.
QByteArray write(const QList<ImportedToken> &tokens);

// Every line as an account (every account of a phone-export link), or refused with its
// line number, the account's name and the reason. Blank lines and "#" comments are skipped.
// Ente's "codeDisplay" gives tags as groups, the note and pinned as the favourite flag.
// Reading stops once the batch holds more than an import takes, or once `stop` is asked to.
ImportBatch read(const QString &text, std::stop_token stop = {});

// Why a text that should hold a link gives no account: the parser's own reason, when it has one.
QString reasonFor(const LinkError &error);

// Whether the text looks like a link list at all (some line starts with "otpauth").
bool recognizes(const QString &text);

} // namespace OtpauthLinks
