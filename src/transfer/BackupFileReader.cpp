#include "transfer/BackupFileReader.h"

#include "transfer/BackupFile.h"
#include "transfer/BackupReader.h"

#include <QTimer>

#include <cerrno>

BackupFileReader::BackupFileReader(const QString &path, std::function<void(Result)> done, QObject *parent)
    : QObject(parent),
      m_done(std::move(done))
{
    auto file = BackupFile::openRegular(path);
    if (!file) {
        QTimer::singleShot(0, this, [this, error = file.error()] { finish(std::unexpected(error)); });
        return;
    }
    m_file = std::move(*file);
    QTimer::singleShot(0, this, &BackupFileReader::readSlice);
}

// A file that grew past the bound since it was opened is refused as well.
void BackupFileReader::readSlice()
{
    const QByteArray slice = m_file->read(sliceSize);
    const int error = errno;
    m_bytes += slice;
    if (m_file->error() != QFileDevice::NoError)
        return finish(std::unexpected(BackupFile::systemError(error)));
    if (m_bytes.size() > BackupReader::maxFileSize)
        return finish(std::unexpected(TransferError::Kind::tooLarge));
    if (slice.isEmpty())
        return finish(std::move(m_bytes));
    QTimer::singleShot(0, this, &BackupFileReader::readSlice);
}

void BackupFileReader::finish(Result result)
{
    m_file.reset();
    const auto done = std::move(m_done); // it may destroy this reader
    done(std::move(result));
}
