#include "ui/QrScanner.h"

#include "transfer/TransferLoader.h"
#include "ui/PortalRequest.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QScreen>
#include <QUrl>

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

namespace {

std::expected<QString, TransferError> scanX11Screens()
{
    TransferError error = TransferError::Kind::noQrCode;
    for (QScreen *screen : QGuiApplication::screens()) {
        auto found = QrScanner::scanImage(screen->grabWindow(0).toImage());
        if (found)
            return found;
        if (found.error().kind() == TransferError::Kind::notAnAccountCode)
            error = found.error();
    }
    return std::unexpected(error);
}

void scanThroughPortal(QObject *context, QrScanner::ScanResult done)
{
    const QVariantMap options{{u"interactive"_s, false}, {u"modal"_s, true}};
    auto *request = PortalRequest::send(QDBusConnection::sessionBus(), u"org.freedesktop.portal.Screenshot"_s,
                                        u"Screenshot"_s, {QString()}, options, context);
    QObject::connect(request, &PortalRequest::answered, context,
                     [done = std::move(done)](uint response, const QVariantMap &results) {
                         if (response == PortalRequest::Cancelled)
                             return;
                         const QString path = QUrl(results.value(u"uri"_s).toString()).toLocalFile();
                         if (response != PortalRequest::Success || path.isEmpty()) {
                             done(std::unexpected(TransferError::Kind::screenUnavailable));
                             return;
                         }
                         const auto found = QrScanner::scanFile(path);
                         // The picture holds whatever the screen showed, an account's QR code too.
                         QFile::remove(path);
                         done(found);
                     });
}

} // namespace

void QrScanner::scanScreens(QObject *context, ScanResult done)
{
    if (qEnvironmentVariable("XDG_SESSION_TYPE") == u"wayland"_s)
        scanThroughPortal(context, std::move(done));
    else
        done(scanX11Screens());
}
