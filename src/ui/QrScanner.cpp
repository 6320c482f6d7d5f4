#include "ui/QrScanner.h"

#include "ui/TransferLoader.h"

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QScreen>

using namespace Qt::Literals::StringLiterals;

std::expected<QString, TransferError> QrScanner::scanImage(const QImage &image)
{
    if (image.isNull())
        return std::unexpected(TransferError::Kind::unreadableImage);
    const auto layer = TransferLoader::layer();
    if (!layer)
        return std::unexpected(layer.error());
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    return (*layer)->accountLink({grey.constBits(), grey.width(), grey.height(), grey.bytesPerLine()});
}

std::expected<QString, TransferError> QrScanner::scanFile(const QString &path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    return scanImage(reader.read());
}

std::expected<QString, TransferError> QrScanner::scanScreens()
{
    if (qEnvironmentVariable("XDG_SESSION_TYPE") == u"wayland"_s)
        return std::unexpected(TransferError::Kind::screenUnavailable);
    TransferError error = TransferError::Kind::noQrCode;
    for (QScreen *screen : QGuiApplication::screens()) {
        auto found = scanImage(screen->grabWindow(0).toImage());
        if (found)
            return found;
        if (found.error().kind() == TransferError::Kind::notAnAccountCode)
            error = found.error();
    }
    return std::unexpected(error);
}
