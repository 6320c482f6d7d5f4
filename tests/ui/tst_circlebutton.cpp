#include "support/DarkPalette.h"
#include "ui/CircleButton.h"
#include "ui/Palette.h"

#include <QtTest>

class TestCircleButton : public QObject
{
    Q_OBJECT

    // The button drawn on a transparent image, pressed or not.
    static QImage render(CircleButton &button, bool pressed)
    {
        button.setDown(pressed);
        QImage image(button.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        button.render(&image, {}, {}, QWidget::DrawChildren);
        return image;
    }

private Q_SLOTS:
    void onlyTheDiscTakesClicks_data()
    {
        QTest::addColumn<CircleButton::Style>("style");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<bool>("clicked");
        for (const auto style : {CircleButton::Style::HeaderIcon, CircleButton::Style::PrimaryHeader}) {
            const char *name = style == CircleButton::Style::HeaderIcon ? "header" : "primary";
            QTest::addRow("%s, centre", name) << style << QPoint(13, 13) << true;
            QTest::addRow("%s, left edge of the disc", name) << style << QPoint(0, 13) << true;
            QTest::addRow("%s, corner", name) << style << QPoint(1, 1) << false;
            QTest::addRow("%s, just outside on the diagonal", name) << style << QPoint(3, 3) << false;
        }
    }
    void onlyTheDiscTakesClicks()
    {
        QFETCH(CircleButton::Style, style);
        QFETCH(QPoint, at);
        CircleButton button(Glyph::Plus, style);
        button.show();
        QSignalSpy spy(&button, &QAbstractButton::clicked);
        QTest::mouseClick(&button, Qt::LeftButton, {}, at);
        QTEST(spy.size() == 1, "clicked");
    }

    void discOpacity_data()
    {
        QTest::addColumn<CircleButton::Style>("style");
        QTest::addColumn<bool>("dark");
        QTest::addColumn<bool>("pressed");
        QTest::addColumn<QColor>("disc");
        const auto tinted = [](QColor colour, double alpha) {
            colour.setAlphaF(alpha);
            return colour;
        };
        const QColor accent = Palette::accentColor(false), darkAccent = Palette::accentColor(true);
        using enum CircleButton::Style;
        QTest::newRow("header at rest: none") << HeaderIcon << false << false << tinted(Qt::black, 0);
        QTest::newRow("header pressed: 10 % black") << HeaderIcon << false << true << tinted(Qt::black, 0.1);
        QTest::newRow("header pressed, dark: 10 % white") << HeaderIcon << true << true << tinted(Qt::white, 0.1);
        QTest::newRow("primary at rest: 11 % accent") << PrimaryHeader << false << false << tinted(accent, 0.11);
        QTest::newRow("primary pressed: 20 % accent") << PrimaryHeader << false << true << tinted(accent, 0.2);
        QTest::newRow("primary pressed, dark: 20 %") << PrimaryHeader << true << true << tinted(darkAccent, 0.2);
    }
    void discOpacity()
    {
        QFETCH(CircleButton::Style, style);
        QFETCH(bool, dark);
        QFETCH(bool, pressed);
        QFETCH(QColor, disc);
        CircleButton button(Glyph::DocOnClipboard, style);
        if (dark)
            button.setPalette(darkPalette());
        const QImage image = render(button, pressed);
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0); // the corners stay clear
        const QColor pixel = image.pixelColor(4, CircleButton::diameter / 2); // in the disc, clear of the glyph
        QVERIFY2(std::abs(pixel.alphaF() - disc.alphaF()) < 0.005, qPrintable(pixel.name(QColor::HexArgb)));
        for (const auto channel : {&QColor::redF, &QColor::greenF, &QColor::blueF})
            QVERIFY(disc.alpha() == 0 || std::abs((pixel.*channel)() - (disc.*channel)()) < 0.03);
    }

    void glyphUsesTheTint()
    {
        CircleButton button(Glyph::Plus, CircleButton::Style::PrimaryHeader);
        button.setTint(Qt::red);
        QCOMPARE(render(button, false).pixelColor(13, 13), QColor(Qt::red));
    }
};

QTEST_MAIN(TestCircleButton)
#include "tst_circlebutton.moc"
