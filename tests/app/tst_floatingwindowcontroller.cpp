#include "app/FloatingWindowController.h"
#include "support/TempSettings.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using Screens = FloatingWindowController::Screens;
Q_DECLARE_METATYPE(Screens)

static const QRectF mainScreen(0, 0, 1920, 1080);
static const QSize panelSize(330, 152);
static const QPoint topRight(1570, 20); // 20 in from the main screen's top-right corner
static const QString originKey(u"totp.windowOrigin"_s);

class TestFloatingWindowController : public QObject
{
    Q_OBJECT
    std::unique_ptr<TempSettings> m_settings;
    Screens m_screens;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<FloatingWindowController> m_controller;

    QSettings &settings() { return m_settings->settings(); }
    QString saved() { return settings().value(originKey).toString(); }
    // A panel at `origin` handed to a new controller, as the launch sequence does it.
    QWidget &attach(QPoint origin = topRight, bool shown = false)
    {
        m_controller = std::make_unique<FloatingWindowController>(settings(), [this] { return m_screens; });
        m_window = std::make_unique<QWidget>(nullptr, Qt::Tool | Qt::FramelessWindowHint);
        m_window->setGeometry(QRect(origin, panelSize));
        m_controller->attach(m_window.get());
        if (shown)
            m_controller->showPanel(), (void)QTest::qWaitForWindowExposed(m_window.get()); // else the checks fail
        return *m_window;
    }
    static constexpr int Shown = 1, Animated = 2;
    static void waitForSaves() { QTest::qWait(2 * FloatingWindowController::saveDelayMs); }

private Q_SLOTS:
    void init()
    {
        m_controller.reset(); // before the settings it writes to
        m_settings = std::make_unique<TempSettings>();
        m_screens = {{mainScreen}, mainScreen};
    }

    void restore_data()
    {
        QTest::addColumn<Screens>("screens");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QPoint>("origin");
        const Screens one{{mainScreen}, mainScreen}, two{{mainScreen, QRectF(1920, 0, 1280, 1024)}, mainScreen};
        const QRectF left(0, 0, 1000, 1000), right(1000, 0, 1000, 1000);
        QTest::newRow("mostly on the second screen: clamped into it") << two << u"{1800, 100}"_s << QPoint(1920, 100);
        QTest::newRow("off every screen: top-right of the first") << two << u"{5000, 5000}"_s << topRight;
        QTest::newRow("(-500, -500): top-right, 20 in") << one << u"{-500, -500}"_s << topRight;
        QTest::newRow("60 px of width visible: top-right") << one << u"{1860, 100}"_s << topRight;
        QTest::newRow("30 px of height visible: top-right") << one << u"{100, 1050}"_s << topRight;
        QTest::newRow("100 by 50 visible: only clamped") << one << u"{1820, 1030}"_s << QPoint(1590, 928);
        QTest::newRow("wider than the screen: right edge aligned")
            << Screens{{QRectF(0, 0, 300, 600)}, {}} << u"{-10, 100}"_s << QPoint(-30, 100);
        QTest::newRow("taller than the screen: top edge aligned")
            << Screens{{QRectF(0, 0, 800, 100)}, {}} << u"{10, -20}"_s << QPoint(10, 0);
        QTest::newRow("equal overlap: the earlier screen wins")
            << Screens{{left, right}, {}} << u"{835, 100}"_s << QPoint(670, 100);
        QTest::newRow("no screen overlapped: the first in the list")
            << Screens{{right, left}, {}} << u"{5000, 0}"_s << QPoint(1650, 20);
        QTest::newRow("empty screen list: the primary screen") << Screens{{}, mainScreen} << u"{5000, 0}"_s << topRight;
        QTest::newRow("no screen at all: left alone") << Screens{} << u"{5000, 0}"_s << QPoint(5000, 0);
        QTest::newRow("fractions round, blanks allowed") << one << u" {10.6,2.25 } "_s << QPoint(11, 2);
        const Screens inset{{QRectF(100, 100, 800, 600)}, {}}; // (0, 0) is off it
        for (const QString &bad : {u"nowhere"_s, u"{12}"_s, u"{1e300, 5}"_s, u""_s})
            QTest::addRow("unreadable \"%s\": (0, 0), corrected", qPrintable(bad)) << inset << bad << QPoint(100, 100);
    }
    void restore()
    {
        QFETCH(Screens, screens);
        QFETCH(QString, saved);
        m_screens = screens;
        settings().setValue(originKey, saved);
        QTEST(attach().pos(), "origin");
    }

    void savesMovesOnlyAndAGonePanelNothing()
    {
        settings().setValue(originKey, u"{5000, 5000}"_s);
        QWidget &window = attach(topRight, true);
        waitForSaves();
        QCOMPARE(saved(), u"{5000, 5000}"_s); // the corrected restore is not written back
        window.move(1000, 300);
        QTRY_COMPARE(m_settings->reopen()->value(originKey).toString(), u"{1000, 300}"_s);
        QCOMPARE(attach(topRight, true).pos(), QPoint(1000, 300)); // a restart restores it
        m_window->move(1200, 40);
        m_controller.reset(); // a pending move is saved at the end
        QCOMPARE(saved(), u"{1200, 40}"_s);
        // Once the panel is gone, nothing is done (nor crashes, nor is saved).
        attach();
        m_window.reset();
        settings().remove(originKey);
        m_controller->resize(QSizeF(330, 400), true);
        m_controller->showPanel();
        m_controller->hidePanel();
        m_controller->resetWindowAlpha();
        waitForSaves();
        QVERIFY(!settings().contains(originKey));
    }

    void resize_data()
    {
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<int>("how"); // Shown | Animated
        QTest::addColumn<QSizeF>("size");
        QTest::addColumn<QRect>("geometry");
        const QPoint off(-1000, -1000), p(100, 100);
        QTest::newRow("0.5 point: no change, no on-screen check")
            << off << 0 << QSizeF(330.5, 151.5) << QRect(off, panelSize);
        QTest::newRow("real change: put on screen too") << off << 0 << QSizeF(330, 153) << QRect(1570, 20, 330, 153);
        QTest::newRow("shrinking keeps the top y") << p << 0 << QSizeF(330, 100) << QRect(100, 100, 330, 100);
        QTest::newRow("growth near the bottom moves it up, saved")
            << QPoint(100, 900) << Shown << QSizeF(330, 300) << QRect(100, 780, 330, 300);
        QTest::newRow("hidden: not animated") << p << Animated << QSizeF(330, 400) << QRect(100, 100, 330, 400);
        QTest::newRow("shown: animated") << p << (Shown | Animated) << QSizeF(330, 400) << QRect(100, 100, 330, 400);
    }
    void resize()
    {
        QFETCH(QPoint, start);
        QFETCH(int, how);
        QFETCH(QSizeF, size);
        QFETCH(QRect, geometry);
        QWidget &window = attach(start, how & Shown);
        m_controller->resize(size, how & Animated);
        QCOMPARE(window.geometry() == geometry, how != (Shown | Animated)); // at once unless animated
        QTRY_COMPARE(window.geometry(), geometry);
        if ((how & Shown) && start != geometry.topLeft())
            QTRY_COMPARE(saved(), FloatingWindowController::pointText(geometry.topLeft()));
    }

    void showingBringsALostPanelBack()
    {
        QWidget &window = attach({700, 500}, true);
        window.move(1880, 100); // off the right edge
        m_controller->hidePanel();
        m_controller->showPanel();
        QVERIFY(window.isVisible());
        QCOMPARE(window.pos(), topRight);
    }
};

QTEST_MAIN(TestFloatingWindowController)
#include "tst_floatingwindowcontroller.moc"
