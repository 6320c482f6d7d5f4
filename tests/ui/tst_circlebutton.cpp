#include "DarkPalette.h"
#include "CircleButton.h"
#include "Palette.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

// The button drawn on a transparent image, pressed or not.
QImage render(CircleButton &button, bool pressed)
{
    button.setDown(pressed);
    QImage image(button.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    button.render(&image, {}, {}, QWidget::DrawChildren);
    return image;
}

// A pixel inside the disc but clear of the glyph.
QColor discPixel(const QImage &image)
{
    return image.pixelColor(4, CircleButton::diameter / 2);
}

} // namespace

class TestCircleButton : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onlyTheDiscTakesClicks_data()
    {
        QTest::addColumn<CircleButton::Style>("style");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<bool>("clicked");
        for (const auto style : {CircleButton::Style::HeaderIcon, CircleButton::Style::PrimaryHeader}) {
            const char *name = style == CircleButton::Style::HeaderIcon ? "header" : "primary";
            QTest::addRow("%s, centre", name) << style << QPoint(13, 13) << true;
            QTest::addRow("%s, top-left corner", name) << style << QPoint(1, 1) << false;
            QTest::addRow("%s, bottom-right corner", name) << style << QPoint(24, 24) << false;
            QTest::addRow("%s, left edge of the disc", name) << style << QPoint(0, 13) << true;
            QTest::addRow("%s, just outside the disc on the diagonal", name) << style << QPoint(3, 3) << false;
        }
    }
    void onlyTheDiscTakesClicks()
    {
        QFETCH(CircleButton::Style, style);
        QFETCH(QPoint, at);
        QFETCH(bool, clicked);
        CircleButton button(Glyph::Plus, style);
        button.show();
        QSignalSpy spy(&button, &QAbstractButton::clicked);
        QTest::mouseClick(&button, Qt::LeftButton, {}, at);
        QCOMPARE(spy.size(), clicked ? 1 : 0);
    }

    void discOpacity_data()
    {
        QTest::addColumn<CircleButton::Style>("style");
        QTest::addColumn<bool>("dark");
        QTest::addColumn<bool>("pressed");
        QTest::addColumn<double>("alpha");
        QTest::addColumn<QColor>("rgb");
        const QColor black(Qt::black);
        const QColor white(Qt::white);
        using enum CircleButton::Style;
        QTest::newRow("header at rest: no disc") << HeaderIcon << false << false << 0.0 << black;
        QTest::newRow("header pressed, light: 10 % black") << HeaderIcon << false << true << 0.1 << black;
        QTest::newRow("header pressed, dark: 10 % white") << HeaderIcon << true << true << 0.1 << white;
        QTest::newRow("primary at rest: 11 % accent") << PrimaryHeader << false << false << 0.11
                                                      << Palette::accentColor(false);
        QTest::newRow("primary pressed: 20 % accent") << PrimaryHeader << false << true << 0.2
                                                      << Palette::accentColor(false);
        QTest::newRow("primary pressed, dark: 20 % dark accent") << PrimaryHeader << true << true << 0.2
                                                                 << Palette::accentColor(true);
    }
    void discOpacity()
    {
        QFETCH(CircleButton::Style, style);
        QFETCH(bool, dark);
        QFETCH(bool, pressed);
        QFETCH(double, alpha);
        QFETCH(QColor, rgb);
        CircleButton button(Glyph::DocOnClipboard, style);
        if (dark)
            button.setPalette(darkPalette());
        const QColor pixel = discPixel(render(button, pressed));
        QVERIFY2(std::abs(pixel.alphaF() - alpha) < 0.01, qPrintable(QString::number(pixel.alphaF())));
        if (alpha > 0) {
            QVERIFY(std::abs(pixel.redF() - rgb.redF()) < 0.03);
            QVERIFY(std::abs(pixel.greenF() - rgb.greenF()) < 0.03);
            QVERIFY(std::abs(pixel.blueF() - rgb.blueF()) < 0.03);
        }
    }

    void cornersStayClear()
    {
        CircleButton button(Glyph::Plus, CircleButton::Style::PrimaryHeader);
        QCOMPARE(render(button, true).pixelColor(0, 0).alpha(), 0);
    }

    void glyphUsesTheTint()
    {
        CircleButton button(Glyph::Plus, CircleButton::Style::PrimaryHeader);
        button.setTint(Qt::red);
        const QColor centre = render(button, false).pixelColor(13, 13);
        QCOMPARE(centre.alpha(), 255);
        QCOMPARE(centre.rgb(), QColor(Qt::red).rgb());
    }

    void accentFollowsTheScheme()
    {
        QCOMPARE(Palette::accentColor(false), QColor::fromRgbF(0.0f, 0.39f, 0.84f));
        QCOMPARE(Palette::accentColor(true), QColor::fromRgbF(0.3f, 0.62f, 1.0f));
        QVERIFY(Palette::isDark(darkPalette()));
        QVERIFY(!Palette::isDark(QPalette(Qt::white)));
        CircleButton button(Glyph::Plus, CircleButton::Style::PrimaryHeader);
        button.setPalette(darkPalette());
        QCOMPARE(button.tint(), Palette::accentColor(true));
    }
};

QTEST_MAIN(TestCircleButton)
#include "tst_circlebutton.moc"
