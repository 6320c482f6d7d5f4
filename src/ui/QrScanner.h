#pragma once

#include "transfer/TransferError.h"

#include <QString>

#include <expected>
#include <functional>

class QImage;
class QObject;

// Reads the account link of a QR code from an image, an image file or the screens.
namespace QrScanner {

std::expected<QString, TransferError> scanImage(const QImage &image);
// UnreadableImage when the file is not an image Qt can read.
std::expected<QString, TransferError> scanFile(const QString &path);
using ScanResult = std::function<void(const std::expected<QString, TransferError> &)>;
// Every screen; the first account link found goes to `done`. On X11, where any client may
// read the screen, at once. A Wayland session shows an X client only its own windows, so
// there the desktop portal takes the screenshot (the desktop may ask the person first)
// and `done` is called once it answered, unless `context` is gone by then; nothing is
// called when the person declined.
void scanScreens(QObject *context, ScanResult done);

} // namespace QrScanner
