#pragma once

#include "transfer/ImportBatch.h"

// The accounts of one phone-export link. A large export is split over several links,
// each a batch of its own, `index` of `count` (counted from 0).
struct MigrationBatch
{
    ImportBatch accounts;
    int index = 0;
    int count = 1;

    // A QR code holds under 3 KB; a longer pasted text is not an export.
    static constexpr qsizetype maxLinkLength = 64 * 1024;

    // Whether the text is such a link at all, whatever its data holds.
    static bool looksLikeLink(const QString &text)
    {
        return text.trimmed().startsWith(QLatin1StringView("otpauth-migration:"), Qt::CaseInsensitive);
    }
};
