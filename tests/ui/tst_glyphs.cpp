#include "ui/Glyphs.h"

#include <QPainter>
#include <QtTest>

class TestGlyphs : public QObject
{
    Q_OBJECT

    // How many pixels of a glyph drawn `size` px wide are at least half covered.
    static int inkedPixels(Glyph glyph, int size, qreal lineWidth)
    {
        QImage image(size + 2, size + 2, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        Glyphs::paint(painter, glyph, QRectF(1, 1, size, size), Qt::black, lineWidth);
        painter.end();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += qAlpha(image.pixel(x, y)) >= 128;
        return count;
    }

private Q_SLOTS:
    void glyphsAreLinesInsideTheirSquareAtAnyScale()
    {
        for (int i = int(Glyph::Plus); i <= int(Glyph::Pencil); ++i) {
            const QRectF bounds = Glyphs::path(Glyph(i), 1.5).boundingRect();
            QVERIFY2(!bounds.isEmpty() && QRectF(0, 0, Glyphs::gridSize, Glyphs::gridSize).contains(bounds),
                     qPrintable(QString::number(i)));
            // Something visible, and lines rather than a filled square.
            const int inked = inkedPixels(Glyph(i), 20, 1.5);
            QVERIFY2(inked > 10 && inked < 20 * 20 / 2, qPrintable(QStringLiteral("%1: %2").arg(i).arg(inked)));
        }
        // A minus stays as thick at 40 px as at 20 px: its inked area only doubles.
        const int small = inkedPixels(Glyph::Minus, 20, 2), large = inkedPixels(Glyph::Minus, 40, 2);
        QVERIFY2(std::abs(large - 2 * small) <= 4, qPrintable(QStringLiteral("%1 vs %2").arg(large).arg(small)));
    }
};

QTEST_MAIN(TestGlyphs)
#include "tst_glyphs.moc"
