#include "transfer/SlicedFileReader.h"

#include "transfer/ImportReader.h"
#include "transfer/SafeFile.h"

#include <QTimer>

#include <cerrno>

SlicedFileReader::SlicedFileReader(const QString &path, std::function<void(Result)> done, QObject *parent)
    : QObject(parent),
      m_done(std::move(done))
{
    auto file = SafeFile::openRegular(path);
    if (!file) {
        QTimer::singleShot(0, this, [this, error = file.error()] { finish(std::unexpected(error)); });
        return;
    }
    m_file = std::move(*file);
    QTimer::singleShot(0, this, &SlicedFileReader::readSlice);
}

// A file that grew past the bound since it was opened is refused as well.
void SlicedFileReader::readSlice()
{
    const QByteArray slice = m_file->read(sliceSize);
    const int error = errno;
    m_bytes += slice;
    if (m_file->error() != QFileDevice::NoError)
        return finish(std::unexpected(SafeFile::systemError(error)));
    if (m_bytes.size() > ImportReader::maxFileSize)
        return finish(std::unexpected(TransferError::Kind::tooLarge));
    if (slice.isEmpty())
        return finish(std::move(m_bytes));
    QTimer::singleShot(0, this, &SlicedFileReader::readSlice);
}

void SlicedFileReader::finish(Result result)
{
    m_file.reset();
    const auto done = std::move(m_done); // it may destroy this reader
    done(std::move(result));
}
