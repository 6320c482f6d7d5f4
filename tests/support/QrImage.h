#pragma once

#include <QImage>
#include <QString>

// A black-on-white QR code of the text (libqrencode), each module moduleSize pixels, with
// the standard four-module quiet zone.
QImage qrImage(const QString &text, int moduleSize);
