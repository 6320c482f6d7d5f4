#include "transfer/QrDecoder.h"

#include "support/QrImage.h"

#include <QtGui>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {
const QString totpLink = u"otpauth://totp/Example:alice@example.org?secret=JBSWY3DPEHPK3PXP&issuer=Example"_s;
const QString web = u"https://example.org"_s;
// A long link: a name in Chinese, percent-encoded, and a long secret.
const QString longLink = u"otpauth://totp/%E5%8F%91%E8%A1%8C%E8%80%85:%E5%90%8D%E5%AD%97?secret="_s + QString(103, u'A')
                         + u"&issuer=%E5%8F%91%E8%A1%8C%E8%80%85&algorithm=SHA1&digits=8&period=60"_s;

// The codes side by side, each turned by `degrees`, on a square canvas of light grey or
// of random grey noise.
QImage scene(const QStringList &texts, int moduleSize, int canvas, qreal degrees, bool noisy)
{
    QImage image(canvas, canvas, QImage::Format_Grayscale8);
    image.fill(Qt::lightGray);
    QRandomGenerator random(7);
    for (int y = 0; noisy && y < canvas; ++y)
        std::generate_n(image.scanLine(y), canvas, [&] { return uchar(random.bounded(90, 256)); });
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
} // namespace

class TstQrDecoder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void accountLink_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("moduleSize");
        QTest::addColumn<int>("canvas");
        QTest::addColumn<qreal>("degrees");
        QTest::addColumn<bool>("noisy");
        QTest::addColumn<QString>("expected"); // the link, or the error's description
        const QString none = TransferError(TransferError::Kind::noQrCode).description();
        const QString other = TransferError(TransferError::Kind::notAnAccountCode).description();
        QTest::newRow("2 px modules") << QStringList{totpLink} << 2 << 200 << 0.0 << false << totpLink;
        QTest::newRow("long link") << QStringList{longLink} << 3 << 400 << 0.0 << false << longLink;
        QTest::newRow("turned 90") << QStringList{totpLink} << 5 << 500 << 90.0 << false << totpLink;
        QTest::newRow("turned 30 on noise") << QStringList{totpLink} << 6 << 700 << 30.0 << true << totpLink;
        QTest::newRow("upside down on noise") << QStringList{totpLink} << 4 << 500 << 180.0 << true << totpLink;
        // Shrunk by 4 before the search: modules of 12 px become 3 px.
        QTest::newRow("6000 px image") << QStringList{totpLink} << 12 << 6000 << 10.0 << true << totpLink;
        QTest::newRow("link beside a web address")
            << QStringList{web, totpLink} << 4 << 900 << 0.0 << false << totpLink;
        QTest::newRow("migration link") << QStringList{u"otpauth-migration://offline?data=CgA"_s} << 4 << 400 << 0.0
                                        << false << u"otpauth-migration://offline?data=CgA"_s;
        QTest::newRow("noise only") << QStringList() << 4 << 600 << 0.0 << true << none;
        QTest::newRow("a web address") << QStringList{web} << 4 << 400 << 0.0 << false << other;
        const QString counting = u"otpauth://hotp/a?secret=JBSWY3DPEHPK3PXP&counter=9"_s;
        QTest::newRow("an HOTP link") << QStringList{counting} << 4 << 400 << 0.0 << false << counting;
    }

    void accountLink()
    {
        QFETCH(QStringList, texts);
        QFETCH(int, moduleSize);
        QFETCH(int, canvas);
        QFETCH(qreal, degrees);
        QFETCH(bool, noisy);
        const QImage image = scene(texts, moduleSize, canvas, degrees, noisy);
        const auto found =
            QrDecoder::accountLink({image.constBits(), image.width(), image.height(), image.bytesPerLine()});
        QTEST(found ? *found : found.error().description(), "expected");
    }
};

QTEST_GUILESS_MAIN(TstQrDecoder)
#include "tst_qrdecoder.moc"
