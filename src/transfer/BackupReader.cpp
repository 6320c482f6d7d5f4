#include "transfer/BackupReader.h"

#include "transfer/AegisVault.h"
#include "transfer/EnteBackup.h"
#include "transfer/OtpauthLinks.h"
#include "transfer/TwoFasBackup.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <QStringDecoder>

namespace BackupReader {

std::expected<ImportBatch, TransferError> read(const QByteArray &bytes, const DerivedKeys &keys,
                                               const KdfPolicy &policy)
{
    if (bytes.size() > maxFileSize)
        return std::unexpected(TransferError::Kind::tooLarge);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (document.isObject()) {
        const QJsonObject root = document.object();
        if (AegisVault::recognizes(root))
            return AegisVault::read(root, keys, policy);
        if (TwoFasBackup::recognizes(root))
            return TwoFasBackup::read(root, keys, policy);
        if (EnteBackup::recognizes(root)) {
            const auto links = EnteBackup::decrypt(root, keys, policy);
            if (!links)
                return std::unexpected(links.error());
            return OtpauthLinks::read(*links);
        }
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

} // namespace BackupReader
