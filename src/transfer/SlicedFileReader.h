#pragma once

#include "transfer/TransferError.h"

#include <QByteArray>
#include <QFile>
#include <QObject>

#include <expected>
#include <functional>
#include <memory>

// Reads a backup file a slice per turn of the event loop, so that a large file or a slow
// disk never holds up the panel. Only regular files are read (SafeFile::openRegular).
class SlicedFileReader : public QObject
{
    Q_OBJECT

public:
    using Result = std::expected<QByteArray, TransferError>;
    static constexpr qsizetype sliceSize = 1024 * 1024;

    // `done` runs once, from the event loop, unless the reader is destroyed first.
    SlicedFileReader(const QString &path, std::function<void(Result)> done, QObject *parent = nullptr);

private:
    void readSlice();
    void finish(Result result);

    std::unique_ptr<QFile> m_file;
    QByteArray m_bytes;
    std::function<void(Result)> m_done;
};
