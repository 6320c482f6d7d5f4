#include "transfer/BackupReader.h"

#include "transfer/AegisVault.h"
#include "transfer/OtpauthLinks.h"
#include "transfer/TwoFasBackup.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <QStringDecoder>

namespace {

std::expected<ImportBatch, TransferError> readAny(const QByteArray &bytes, const QString &password,
                                                  const KdfPolicy &policy)
{
    if (bytes.size() > BackupReader::maxFileSize)
        return std::unexpected(TransferError::Kind::tooLarge);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (document.isObject()) {
        const QJsonObject root = document.object();
        if (AegisVault::recognizes(root))
            return AegisVault::read(root, password, policy);
        if (TwoFasBackup::recognizes(root))
            return TwoFasBackup::read(root, password, policy);
        return std::unexpected(TransferError::Kind::unrecognized);
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    if (!decoder.hasError() && OtpauthLinks::recognizes(text))
        return OtpauthLinks::read(text);
    // JSON cut short is most likely a truncated backup.
    const bool truncatedJson = bytes.trimmed().startsWith('{') && error.error != QJsonParseError::NoError;
    return std::unexpected(truncatedJson ? TransferError::Kind::damaged : TransferError::Kind::unrecognized);
}

} // namespace

namespace BackupReader {

std::expected<ImportBatch, TransferError> read(const QByteArray &bytes, const QString &password,
                                               const KdfPolicy &policy)
{
    auto batch = readAny(bytes, password, policy);
    if (batch && batch->size() > ImportBatch::maxEntries)
        return std::unexpected(
            TransferError(TransferError::Kind::tooManyAccounts, QString::number(ImportBatch::maxEntries)));
    return batch;
}

} // namespace BackupReader
