#include "transfer/QrDecoder.h"

#include "support/QrImage.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {
const QString totpLink = u"otpauth://totp/Example:alice@example.org?secret=JBSWY3DPEHPK3PXP&issuer=Example"_s;

// The codes drawn turned by `degrees` on a canvas of the given side, over random grey noise
// when `noisy`, placed side by side.
QImage scene(const QStringList &texts, int moduleSize, int canvas, qreal degrees, bool noisy)
{
    QImage image(canvas, canvas, QImage::Format_Grayscale8);
    image.fill(Qt::lightGray);
    if (noisy) {
        QRandomGenerator random(7);
        for (int y = 0; y < canvas; ++y) {
            uchar *row = image.scanLine(y);
            for (int x = 0; x < canvas; ++x)
                row[x] = uchar(random.bounded(90, 256));
        }
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    qreal x = canvas * 0.05;
    for (const QString &text : texts) {
        const QImage code = qrImage(text, moduleSize);
        painter.save();
        painter.translate(x + code.width() / 2.0, canvas / 2.0);
        painter.rotate(degrees);
        painter.drawImage(QPointF(-code.width() / 2.0, -code.height() / 2.0), code);
        painter.restore();
        x += code.width() * 1.5;
    }
    return image;
}

QStringList decode(const QImage &image)
{
    return QrDecoder::decode({image.constBits(), image.width(), image.height(), image.bytesPerLine()});
}
} // namespace

class TstQrDecoder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decode_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("moduleSize");
        QTest::addColumn<int>("canvas");
        QTest::addColumn<qreal>("degrees");
        QTest::addColumn<bool>("noisy");
        QTest::newRow("small, 2 px modules") << QStringList{totpLink} << 2 << 200 << 0.0 << false;
        QTest::newRow("medium, turned 90") << QStringList{totpLink} << 5 << 500 << 90.0 << false;
        QTest::newRow("turned 30 on noise") << QStringList{totpLink} << 6 << 700 << 30.0 << true;
        QTest::newRow("upside down on noise") << QStringList{totpLink} << 4 << 500 << 180.0 << true;
        // Shrunk by 4 before the search: modules of 12 px become 3 px.
        QTest::newRow("6000 px image shrunk") << QStringList{totpLink} << 12 << 6000 << 10.0 << true;
        QTest::newRow("two codes") << QStringList{totpLink, u"otpauth-migration://offline?data=CgA%3D"_s} << 4 << 900
                                   << 0.0 << false;
        QTest::newRow("noise only") << QStringList() << 4 << 600 << 0.0 << true;
    }

    void decode()
    {
        QFETCH(QStringList, texts);
        QFETCH(int, moduleSize);
        QFETCH(int, canvas);
        QFETCH(qreal, degrees);
        QFETCH(bool, noisy);
        QStringList found = ::decode(scene(texts, moduleSize, canvas, degrees, noisy));
        found.sort();
        texts.sort();
        QCOMPARE(found, texts);
    }

    void emptyImageGivesNothing() { QVERIFY(QrDecoder::decode({nullptr, 0, 0, 0}).isEmpty()); }
};

QTEST_GUILESS_MAIN(TstQrDecoder)
#include "tst_qrdecoder.moc"
