#include "transfer/QrEncoder.h"

#include <qrencode.h>

#include <memory>

QImage QrEncoder::modules(const QByteArray &text)
{
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeData(int(text.size()), reinterpret_cast<const unsigned char *>(text.constData()), 0, QR_ECLEVEL_M),
        &QRcode_free);
    if (!code)
        return {};
    const int side = code->width + 2 * quietZone;
    QImage image(side, side, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    for (int y = 0; y < code->width; ++y) {
        uchar *line = image.scanLine(y + quietZone) + quietZone;
        for (int x = 0; x < code->width; ++x) {
            if (code->data[y * code->width + x] & 1) // the low bit marks a dark module
                line[x] = 0;
        }
    }
    return image;
}
