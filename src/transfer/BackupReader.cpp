#include "transfer/BackupReader.h"

#include "transfer/BackupFormat.h"

namespace BackupReader {

std::expected<ImportBatch, TransferError> read(const QByteArray &bytes, const DerivedKeys &keys,
                                               const KdfPolicy &policy)
{
    if (bytes.size() > maxFileSize)
        return std::unexpected(TransferError::Kind::tooLarge);
    const BackupContent content(bytes);
    for (const BackupFormat &format : BackupFormat::all()) {
        if (!format.recognizes(content))
            continue;
        auto batch = format.read(content, keys, policy);
        if (batch)
            batch->format = format.name;
        return batch;
    }
    // JSON cut short is most likely a truncated backup.
    const QByteArray start = bytes.trimmed().left(1);
    const bool truncatedJson = (start == "{" || start == "[") && content.jsonError != QJsonParseError::NoError;
    return std::unexpected(truncatedJson ? TransferError::Kind::damaged : TransferError::Kind::unrecognized);
}

} // namespace BackupReader
