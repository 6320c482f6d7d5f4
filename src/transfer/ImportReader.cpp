#include "transfer/ImportReader.h"

#include "transfer/ImportFormat.h"

namespace {

std::expected<ImportBatch, TransferError> readAny(const QByteArray &bytes, const DerivedKeys &keys,
                                                  const KdfPolicy &policy, std::stop_token stop)
{
    if (bytes.size() > ImportReader::maxFileSize)
        return std::unexpected(TransferError::Kind::tooLarge);
    const ImportContent content(bytes, std::move(stop));
    for (const ImportFormat &format : ImportFormat::all()) {
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

} // namespace

namespace ImportReader {

std::expected<ImportBatch, TransferError> read(const QByteArray &bytes, const DerivedKeys &keys,
                                               const KdfPolicy &policy, std::stop_token stop)
{
    auto batch = readAny(bytes, keys, policy, stop);
    // A reader asked to stop ends early with part of the file read: that part is dropped.
    if (stop.stop_requested())
        return std::unexpected(TransferError::Kind::cancelled);
    if (batch && batch->size() > ImportBatch::maxEntries)
        return std::unexpected(
            TransferError(TransferError::Kind::tooManyAccounts, QString::number(ImportBatch::maxEntries)));
    return batch;
}

} // namespace ImportReader
