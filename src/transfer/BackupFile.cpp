#include "transfer/BackupFile.h"

#include "transfer/BackupReader.h"

#include <QFile>
#include <QSaveFile>

namespace BackupFile {

std::expected<QByteArray, TransferError> read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::unexpected(TransferError(TransferError::Kind::fileError, file.errorString()));
    QByteArray bytes = file.read(BackupReader::maxFileSize + 1);
    if (bytes.size() > BackupReader::maxFileSize)
        return std::unexpected(TransferError::Kind::tooLarge);
    if (file.error() != QFileDevice::NoError)
        return std::unexpected(TransferError(TransferError::Kind::fileError, file.errorString()));
    return bytes;
}

std::expected<void, TransferError> write(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // The mode is set on the temporary file before a byte is written into it.
    const bool written = file.open(QIODevice::WriteOnly)
                         && file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
                         && file.write(bytes) == bytes.size() && file.commit();
    if (!written)
        return std::unexpected(TransferError(TransferError::Kind::fileError, file.errorString()));
    return {};
}

} // namespace BackupFile
