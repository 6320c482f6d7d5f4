#include "transfer/SafeFile.h"

#include "transfer/ImportReader.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemMessage(int error)
{
    switch (error) {
    case ENOENT:
        return QCoreApplication::translate("SafeFile", "文件不存在");
    case EACCES:
    case EPERM:
        return QCoreApplication::translate("SafeFile", "没有权限");
    case EIO:
        return QCoreApplication::translate("SafeFile", "输入/输出错误");
    case ENOSPC:
    case EDQUOT:
        return QCoreApplication::translate("SafeFile", "磁盘空间不足");
    case EROFS:
        return QCoreApplication::translate("SafeFile", "文件系统是只读的");
    case ENAMETOOLONG:
        return QCoreApplication::translate("SafeFile", "文件名太长");
    case ENOTDIR:
    case ELOOP:
        return QCoreApplication::translate("SafeFile", "路径无效");
    default:
        return qt_error_string(error);
    }
}

} // namespace

namespace SafeFile {

TransferError systemError(int error)
{
    return TransferError(TransferError::Kind::fileError, systemMessage(error));
}

std::expected<std::unique_ptr<QFile>, TransferError> openRegular(const QString &path)
{
    const TransferError notAFile(TransferError::Kind::notAFile, QFileInfo(path).fileName());
    const QByteArray name = QFile::encodeName(path);
    struct stat info = {};
    // Looked at before opening, which may itself act on a device; checked again once open.
    if (::stat(name.constData(), &info) != 0)
        return std::unexpected(systemError(errno));
    if (!S_ISREG(info.st_mode))
        return std::unexpected(notAFile);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::unexpected(systemError(errno));
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::unexpected(TransferError(TransferError::Kind::fileError, file->errorString()));
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return std::unexpected(notAFile);
    if (info.st_size > ImportReader::maxFileSize)
        return std::unexpected(TransferError::Kind::tooLarge);
    return file;
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

} // namespace SafeFile
