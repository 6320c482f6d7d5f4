#include "Glyphs.h"

#include <QPainter>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// Pixels of the 22-px image the glyph covers at least half.
int inkedPixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) >= 128;
    return count;
}

} // namespace

class TestGlyphs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void drawsInsideItsSquare_data()
    {
        QTest::addColumn<Glyph>("glyph");
        QTest::newRow("plus") << Glyph::Plus;
        QTest::newRow("minus") << Glyph::Minus;
        QTest::newRow("xmark") << Glyph::XMark;
        QTest::newRow("chevron.down") << Glyph::ChevronDown;
        QTest::newRow("checkmark") << Glyph::Checkmark;
        QTest::newRow("doc.on.doc") << Glyph::DocOnDoc;
        QTest::newRow("doc.on.clipboard") << Glyph::DocOnClipboard;
        QTest::newRow("trash") << Glyph::Trash;
        QTest::newRow("circle.lefthalf.filled") << Glyph::CircleLeftHalfFilled;
        QTest::newRow("hand.tap") << Glyph::HandTap;
        QTest::newRow("pencil") << Glyph::Pencil;
    }
    void drawsInsideItsSquare()
    {
        QFETCH(Glyph, glyph);
        const QRectF bounds = Glyphs::path(glyph, 1.5).boundingRect();
        QVERIFY(!bounds.isEmpty());
        QVERIFY2(QRectF(0, 0, Glyphs::gridSize, Glyphs::gridSize).contains(bounds),
                 qPrintable(u"%1,%2 %3x%4"_s.arg(bounds.x()).arg(bounds.y()).arg(bounds.width()).arg(bounds.height())));

        QImage image(22, 22, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        Glyphs::paint(painter, glyph, QRectF(1, 1, 20, 20), Qt::black, 1.5);
        painter.end();
        // Something visible, and lines rather than a filled square.
        QCOMPARE_GT(inkedPixels(image), 10);
        QCOMPARE_LT(inkedPixels(image), 20 * 20 / 2);
    }

    void lineWidthIsInPixelsAtAnyScale()
    {
        // A minus stays as thick at 40 px as at 20 px: its inked area only doubles.
        QImage small(22, 22, QImage::Format_ARGB32_Premultiplied);
        QImage large(42, 42, QImage::Format_ARGB32_Premultiplied);
        for (QImage *image : {&small, &large}) {
            image->fill(Qt::transparent);
            QPainter painter(image);
            Glyphs::paint(painter, Glyph::Minus, QRectF(1, 1, image->width() - 2, image->height() - 2), Qt::black, 2);
        }
        QVERIFY2(std::abs(inkedPixels(large) - 2 * inkedPixels(small)) <= 4,
                 qPrintable(u"%1 vs %2"_s.arg(inkedPixels(large)).arg(inkedPixels(small))));
    }
};

QTEST_MAIN(TestGlyphs)
#include "tst_glyphs.moc"
