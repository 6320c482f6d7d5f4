#include "support/FakeClock.h"
#include "ui/TokenProgressView.h"

#include <QtTest>

constexpr double boundary = 1699999980.0; // a multiple of 30: a period boundary
constexpr double period = 30;

class TestTokenProgressView : public QObject
{
    Q_OBJECT

    FakeClock m_clock;

private Q_SLOTS:
    void timing_data()
    {
        QTest::addColumn<double>("t");
        QTest::addColumn<double>("widthPixels");
        QTest::addColumn<bool>("reduceMotion");
        QTest::addColumn<double>("remaining");
        QTest::addColumn<double>("fraction");
        QTest::addColumn<double>("delay");
        // 300 px over 30 s: one pixel every 0.1 s.
        QTest::newRow("12 s in, on a pixel edge: one pixel") << boundary + 12 << 300.0 << false << 18.0 << 0.6 << 0.1;
        QTest::newRow("between edges: to the next") << boundary + 12.03 << 300.0 << false << 17.97 << 0.599 << 0.07;
        QTest::newRow("on an edge at pixel ratio 2") << boundary + 12 << 600.0 << false << 18.0 << 0.6 << 0.05;
        QTest::newRow("on a boundary: full period, first pixel") << boundary << 300.0 << false << 30.0 << 1.0 << 0.1;
        QTest::newRow("last 0.05 s: fill held at 0.002") << boundary + 29.95 << 300.0 << false << 0.05 << 0.002 << 0.05;
        QTest::newRow("last 0.02 s: held at 0.02") << boundary + 29.99 << 300.0 << false << 0.02 << 0.002 << 0.02;
        QTest::newRow("no width: wait for the boundary") << boundary + 12 << 0.0 << false << 18.0 << 0.6 << 18.0;
        QTest::newRow("reduced motion: once a second") << boundary + 29.5 << 300.0 << true << 0.5 << 0.5 / 30 << 1.0;
    }
    void timing()
    {
        QFETCH(double, t);
        QFETCH(double, widthPixels);
        QFETCH(bool, reduceMotion);
        QFETCH(double, remaining);
        QFETCH(double, fraction);
        QFETCH(double, delay);
        QCOMPARE_LE(std::abs(TokenProgressView::remaining(t, period) - remaining), 1e-6);
        QCOMPARE_LE(std::abs(TokenProgressView::fraction(t, period) - fraction), 1e-6);
        const double actual = TokenProgressView::nextRepaintDelay(t, period, widthPixels, reduceMotion);
        QVERIFY2(std::abs(actual - delay) < 1e-4, qPrintable(QString::number(actual)));
    }

    void everyRepaintShowsANewPixel()
    {
        // Walk periods as the timer does: each wake-up finds the fill one pixel narrower or a new period.
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

    // A pixel ahead, only while shown; the running cycle restarts only when it must.
    void repaintTimer()
    {
        m_clock.now = boundary + 12;
        QWidget window;
        auto *bar = new TokenProgressView(m_clock.function(), &window);
        bar->resize(300, 4);
        QCOMPARE(bar->scheduledRepaintMs(), -1);
        window.show();
        QCOMPARE(bar->shownFraction(), 0.6);
        QVERIFY2(bar->scheduledRepaintMs() >= 90 && bar->scheduledRepaintMs() <= 101,
                 qPrintable(QString::number(bar->scheduledRepaintMs())));
        m_clock.now = boundary + 12.1;
        QTRY_VERIFY(std::abs(bar->shownFraction() - 17.9 / 30) < 1e-6);
        m_clock.now = boundary + 13; // an unchanged period keeps the running cycle
        bar->configure(30, Qt::red, false);
        QVERIFY(std::abs(bar->shownFraction() - 17.9 / 30) < 1e-6);
        bar->setPeriod(60);
        QCOMPARE(bar->shownFraction(), (60 - std::fmod(boundary + 13, 60)) / 60);
        bar->setReduceMotion(true);
        QCOMPARE_GT(bar->scheduledRepaintMs(), 900);
        m_clock.now = boundary + 14; // with reduced motion every update shows the present
        bar->configure(60, Qt::red, true);
        QCOMPARE(bar->shownFraction(), (60 - std::fmod(boundary + 14, 60)) / 60);
        window.hide();
        QCOMPARE(bar->scheduledRepaintMs(), -1); // not even once a second
        m_clock.now = boundary + 24;
        window.show(); // showing again restarts from the present
        QCOMPARE(bar->shownFraction(), (60 - std::fmod(boundary + 24, 60)) / 60);
        QCOMPARE_NE(bar->scheduledRepaintMs(), -1);
    }
};

QTEST_MAIN(TestTokenProgressView)
#include "tst_tokenprogressview.moc"
