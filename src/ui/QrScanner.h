#pragma once

#include "transfer/TransferError.h"

#include <QString>

#include <expected>

class QImage;

// Reads the account link of a QR code from an image, an image file or the screens.
namespace QrScanner {

std::expected<QString, TransferError> scanImage(const QImage &image);
// UnreadableImage when the file is not an image Qt can read.
std::expected<QString, TransferError> scanFile(const QString &path);
// Every screen, one after the other; the first account link found. Works on X11, where
// any client may read the screen; a Wayland session shows an X client only its own
// windows, so there it gives screenUnavailable.
std::expected<QString, TransferError> scanScreens();

} // namespace QrScanner
