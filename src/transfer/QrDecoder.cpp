#include "transfer/QrDecoder.h"

#include "engine/OTPAuthParser.h"
#include "transfer/MigrationLink.h"

#include <ZXing/ReadBarcode.h>

#include <QByteArray>

namespace {

// Averages each factor-by-factor block into one pixel; the edge blocks that do not fit
// whole are dropped.
QByteArray shrink(const QrDecoder::LuminanceImage &image, int factor, int width, int height)
{
    QByteArray out(qsizetype(width) * height, Qt::Uninitialized);
    const int area = factor * factor;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int sum = 0;
            for (int dy = 0; dy < factor; ++dy) {
                const uchar *row =
                    image.data + (qsizetype(y) * factor + dy) * image.bytesPerLine + qsizetype(x) * factor;
                for (int dx = 0; dx < factor; ++dx)
                    sum += row[dx];
            }
            out[qsizetype(y) * width + x] = char(sum / area);
        }
    }
    return out;
}

QStringList read(const ZXing::ImageView &view)
{
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode).setTryHarder(true).setTryRotate(true);
    QStringList texts;
    for (const ZXing::Result &result : ZXing::ReadBarcodes(view, hints)) {
        if (result.isValid())
            texts.append(QString::fromStdString(result.text()));
    }
    return texts;
}

} // namespace

QStringList QrDecoder::decode(const LuminanceImage &image)
{
    if (!image.data || image.width <= 0 || image.height <= 0)
        return {};
    const int longer = std::max(image.width, image.height);
    if (longer <= maxSide)
        return read({image.data, image.width, image.height, ZXing::ImageFormat::Lum, int(image.bytesPerLine)});
    const int factor = (longer + maxSide - 1) / maxSide;
    const int width = image.width / factor;
    const int height = image.height / factor;
    if (width == 0 || height == 0)
        return {};
    const QByteArray small = shrink(image, factor, width, height);
    return read({reinterpret_cast<const uint8_t *>(small.constData()), width, height, ZXing::ImageFormat::Lum});
}

std::expected<QString, TransferError> QrDecoder::accountLink(const LuminanceImage &image)
{
    const QStringList texts = decode(image);
    if (texts.isEmpty())
        return std::unexpected(TransferError::Kind::noQrCode);
    for (const QString &text : texts) {
        if (OTPAuthParser::parse(text) || MigrationBatch::looksLikeLink(text))
            return text;
    }
    return std::unexpected(TransferError::Kind::notAnAccountCode);
}
