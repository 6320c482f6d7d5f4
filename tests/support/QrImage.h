#pragma once

#include "transfer/QrEncoder.h"

// The app's QR code of the text, with its quiet zone, each module moduleSize pixels.
inline QImage qrImage(const QString &text, int moduleSize)
{
    const QImage modules = QrEncoder::modules(text.toUtf8());
    return modules.scaled(modules.size() * moduleSize);
}
