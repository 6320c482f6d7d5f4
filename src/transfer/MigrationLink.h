#pragma once

#include "transfer/MigrationBatch.h"
#include "transfer/TransferError.h"

#include <QByteArray>
#include <QString>

#include <expected>

// Reads otpauth-migration://offline?data=... links, the export format of phone
// authenticators: a Base64 protobuf message listing accounts with raw secrets.
namespace MigrationLink {

// A QR code holds under 3 KB; a longer pasted text is not an export.
constexpr qsizetype maxLinkLength = 64 * 1024;

// Whether the text is such a link at all, whatever its data holds.
inline bool looksLikeLink(const QString &text)
{
    return text.trimmed().startsWith(QLatin1StringView("otpauth-migration:"), Qt::CaseInsensitive);
}
// The batch the link carries. damagedLink when the data is missing, is not Base64 or not
// the message.
std::expected<MigrationBatch, TransferError> parse(const QString &text);
// The batch in an already decoded message.
std::expected<MigrationBatch, TransferError> fromPayload(const QByteArray &payload);

} // namespace MigrationLink
