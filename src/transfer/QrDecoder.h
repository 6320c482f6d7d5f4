#pragma once

#include "transfer/TransferError.h"

#include <QStringList>
#include <QtGlobal>

#include <expected>

// Finds QR codes in an 8-bit grey image (one luminance byte a pixel). A large image is
// first shrunk so that its longer side is at most maxSide pixels, which bounds the time a
// search takes whatever the image's size.
namespace QrDecoder {

inline constexpr int maxSide = 1600;

struct LuminanceImage
{
    const uchar *data;
    int width;
    int height;
    qsizetype bytesPerLine;
};

// The text of every QR code found, in the order the search met them; empty when none.
QStringList decode(const LuminanceImage &image);
// The first code that holds an otpauth:// (TOTP or HOTP) or otpauth-migration:// link. NoQrCode when
// the image has no code, NotAnAccountCode when its codes hold something else.
std::expected<QString, TransferError> accountLink(const LuminanceImage &image);

} // namespace QrDecoder
