#include "QrImage.h"

#include <qrencode.h>

#include <QPainter>

QImage qrImage(const QString &text, int moduleSize)
{
    QRcode *code = QRcode_encodeString8bit(text.toUtf8().constData(), 0, QR_ECLEVEL_M);
    if (!code)
        return {};
    const int quiet = 4;
    const int side = (code->width + 2 * quiet) * moduleSize;
    QImage image(side, side, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            if (code->data[y * code->width + x] & 1)
                painter.fillRect((x + quiet) * moduleSize, (y + quiet) * moduleSize, moduleSize, moduleSize, Qt::black);
        }
    }
    QRcode_free(code);
    return image;
}
