#include "FakeClock.h"
#include "TokenProgressView.h"

#include <QtTest>

namespace {

// 1699999980 is a multiple of 30: a period boundary.
constexpr double boundary = 1699999980.0;
constexpr double period = 30;

} // namespace

class TestTokenProgressView : public QObject
{
    Q_OBJECT

private:
    FakeClock m_clock;

    std::unique_ptr<TokenProgressView> shownBar(int width)
    {
        auto bar = std::make_unique<TokenProgressView>(nullptr, m_clock.function());
        bar->resize(width, 4);
        bar->show();
        return bar;
    }

private Q_SLOTS:
    void fraction_data()
    {
        QTest::addColumn<double>("t");
        QTest::addColumn<double>("remaining");
        QTest::addColumn<double>("fraction");
        QTest::newRow("12 s into the period") << boundary + 12 << 18.0 << 0.6;
        QTest::newRow("exactly on a boundary: a full period") << boundary << 30.0 << 1.0;
        QTest::newRow("just after a boundary") << boundary + 0.25 << 29.75 << 29.75 / 30;
        QTest::newRow("last 0.02 s: remaining held at 0.02") << boundary + 29.99 << 0.02 << 0.002;
        QTest::newRow("last 0.05 s: fraction held at 0.002") << boundary + 29.95 << 0.05 << 0.002;
    }
    void fraction()
    {
        QFETCH(double, t);
        QFETCH(double, remaining);
        QFETCH(double, fraction);
        QCOMPARE_LE(std::abs(TokenProgressView::remaining(t, period) - remaining), 1e-6);
        QCOMPARE_LE(std::abs(TokenProgressView::fraction(t, period) - fraction), 1e-6);
    }

    void nextRepaintDelay_data()
    {
        QTest::addColumn<double>("t");
        QTest::addColumn<double>("widthPixels");
        QTest::addColumn<bool>("reduceMotion");
        QTest::addColumn<double>("delay");
        // 300 px over 30 s: one pixel every 0.1 s.
        QTest::newRow("on a pixel edge: one pixel, not 0 and not a period")
            << boundary + 12 << 300.0 << false << 0.1;
        QTest::newRow("between edges: to the next edge") << boundary + 12.03 << 300.0 << false << 0.07;
        QTest::newRow("on an edge at a device pixel ratio of 2") << boundary + 12 << 600.0 << false << 0.05;
        QTest::newRow("on a boundary: first pixel") << boundary << 300.0 << false << 0.1;
        QTest::newRow("fill at its floor: wait for the boundary") << boundary + 29.95 << 300.0 << false << 0.05;
        QTest::newRow("last 0.02 s: restart after 0.02 s") << boundary + 29.99 << 300.0 << false << 0.02;
        QTest::newRow("no width: wait for the boundary") << boundary + 12 << 0.0 << false << 18.0;
        QTest::newRow("reduced motion: once a second") << boundary + 12.03 << 300.0 << true << 1.0;
        QTest::newRow("reduced motion near a boundary") << boundary + 29.5 << 300.0 << true << 1.0;
    }
    void nextRepaintDelay()
    {
        QFETCH(double, t);
        QFETCH(double, widthPixels);
        QFETCH(bool, reduceMotion);
        QFETCH(double, delay);
        const double actual = TokenProgressView::nextRepaintDelay(t, period, widthPixels, reduceMotion);
        QVERIFY2(std::abs(actual - delay) < 1e-4, qPrintable(QString::number(actual)));
    }

    void everyRepaintShowsANewPixel()
    {
        // Walk a whole period the way the timer does: each wake-up must find the fill one
        // pixel narrower (or a new period), however the clock's rounding falls.
        const double width = 300;
        double t = boundary + 7.3;
        int pixels = TokenProgressView::fillPixels(TokenProgressView::fraction(t, period), width);
        for (int step = 0; step < 400; ++step) {
            t += std::ceil(TokenProgressView::nextRepaintDelay(t, period, width, false) * 1000 - 1e-6) / 1000;
            const int next = TokenProgressView::fillPixels(TokenProgressView::fraction(t, period), width);
            QVERIFY2(next == pixels - 1 || next == width, qPrintable(QString::number(t, 'f', 6)));
            pixels = next;
        }
    }

    void schedulesOnePixelAhead()
    {
        m_clock.now = boundary + 12;
        const auto bar = shownBar(300);
        QCOMPARE(bar->shownFraction(), 0.6);
        QCOMPARE_GE(bar->scheduledRepaintMs(), 90);
        QCOMPARE_LE(bar->scheduledRepaintMs(), 101);
    }

    void repaintAdvancesTheFill()
    {
        m_clock.now = boundary + 12;
        const auto bar = shownBar(300);
        m_clock.now = boundary + 12.1;
        QTRY_VERIFY(std::abs(bar->shownFraction() - 17.9 / 30) < 1e-6);
    }

    void noTimerWithoutAWindow()
    {
        m_clock.now = boundary + 12;
        TokenProgressView bar(nullptr, m_clock.function());
        bar.configure(30, Qt::blue, false);
        QCOMPARE(bar.scheduledRepaintMs(), -1);
        bar.setReduceMotion(true);
        QCOMPARE(bar.scheduledRepaintMs(), -1);
    }

    void hidingStopsAndShowingRestarts()
    {
        m_clock.now = boundary + 12;
        QWidget window;
        auto *bar = new TokenProgressView(&window, m_clock.function());
        bar->resize(300, 4);
        window.show();
        QCOMPARE_NE(bar->scheduledRepaintMs(), -1);
        window.hide();
        QCOMPARE(bar->scheduledRepaintMs(), -1);
        m_clock.now = boundary + 24;
        window.show();
        QCOMPARE(bar->shownFraction(), 0.2);
        QCOMPARE_NE(bar->scheduledRepaintMs(), -1);
        bar->setParent(nullptr);
        QCOMPARE(bar->scheduledRepaintMs(), -1);
        delete bar;
    }

    void configureRestartsOnlyWhenNeeded()
    {
        m_clock.now = boundary + 12;
        const auto bar = shownBar(300);
        // An unchanged period keeps the running cycle, even when the clock moved on.
        m_clock.now = boundary + 13;
        bar->configure(30, Qt::red, false);
        QCOMPARE(bar->shownFraction(), 0.6);
        QCOMPARE(bar->color(), QColor(Qt::red));
        bar->setPeriod(60);
        QCOMPARE(bar->shownFraction(), (60 - std::fmod(boundary + 13, 60)) / 60);
        bar->setReduceMotion(true);
        QCOMPARE_GT(bar->scheduledRepaintMs(), 900);
        // With reduced motion every update shows the present.
        m_clock.now = boundary + 14;
        bar->configure(60, Qt::red, true);
        QCOMPARE(bar->shownFraction(), (60 - std::fmod(boundary + 14, 60)) / 60);
    }
};

QTEST_MAIN(TestTokenProgressView)
#include "tst_tokenprogressview.moc"
