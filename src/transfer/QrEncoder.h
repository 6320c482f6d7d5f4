#pragma once

#include <QByteArray>
#include <QImage>

// Draws QR codes, as an account's link is shown for a phone to scan.
namespace QrEncoder {

inline constexpr int quietZone = 4;

// The code's modules, one pixel each, black on white, with a four-module quiet zone; null
// when the text does not fit a QR code.
QImage modules(const QByteArray &text);

} // namespace QrEncoder
