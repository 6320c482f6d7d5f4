#include "FloatingWindowController.h"
#include "TempSettings.h"

#include <QtTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

using Screens = FloatingWindowController::Screens;

const QRectF mainScreen(0, 0, 1920, 1080);
const QRectF rightScreen(1920, 0, 1280, 1024);
const QSize panelSize(330, 152);

} // namespace

Q_DECLARE_METATYPE(Screens)

class TestFloatingWindowController : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempSettings> m_settings;
    Screens m_screens;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<FloatingWindowController> m_controller;

    QSettings &settings() { return m_settings->settings(); }

    // A panel at `origin` handed to a new controller, as the launch sequence does it.
    QWidget &attachPanel(QPoint origin = {1570, 20}, QSize size = panelSize)
    {
        m_controller = std::make_unique<FloatingWindowController>(settings(), [this] { return m_screens; });
        m_window = std::make_unique<QWidget>(nullptr, Qt::Tool | Qt::FramelessWindowHint);
        m_window->setGeometry(QRect(origin, size));
        m_controller->attach(m_window.get());
        return *m_window;
    }
    QWidget &attachShownPanel(QPoint origin = {1570, 20})
    {
        QWidget &window = attachPanel(origin);
        m_controller->showPanel();
        if (!QTest::qWaitForWindowExposed(&window))
            QTest::qFail("the panel was never exposed", __FILE__, __LINE__);
        return window;
    }
    QString saved() { return settings().value(FloatingWindowController::positionKey).toString(); }
    // Long enough for a pending save to have been written.
    static void waitForSaves() { QTest::qWait(2 * FloatingWindowController::saveDelayMs); }

private Q_SLOTS:
    void init()
    {
        m_settings = std::make_unique<TempSettings>();
        m_screens = {{mainScreen}, mainScreen};
    }
    void cleanup()
    {
        m_controller.reset();
        m_window.reset();
    }

    void pointText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPoint>("point");
        QTest::newRow("as written") << u"{1570, 20}"_s << QPoint(1570, 20);
        QTest::newRow("negative") << u"{-500, -500}"_s << QPoint(-500, -500);
        QTest::newRow("no space, extra blanks") << u" {12,34 } "_s << QPoint(12, 34);
        QTest::newRow("fractions round") << u"{10.6, 2.25}"_s << QPoint(11, 2);
        QTest::newRow("exponent") << u"{1e3, 5}"_s << QPoint(1000, 5);
        QTest::newRow("empty") << QString() << QPoint(0, 0);
        QTest::newRow("not a point") << u"top right"_s << QPoint(0, 0);
        QTest::newRow("one number") << u"{12}"_s << QPoint(0, 0);
        QTest::newRow("beyond any screen") << u"{1e300, 5}"_s << QPoint(0, 0);
    }
    void pointText()
    {
        QFETCH(QString, text);
        QFETCH(QPoint, point);
        QCOMPARE(FloatingWindowController::pointFromText(text), point);
    }
    void pointTextRoundTrip()
    {
        QCOMPARE(FloatingWindowController::pointText({1570, 20}), u"{1570, 20}"_s);
        QCOMPARE(FloatingWindowController::pointFromText(FloatingWindowController::pointText({-7, 3})), QPoint(-7, 3));
    }

    void restore_data()
    {
        QTest::addColumn<Screens>("screens");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QPoint>("origin");
        const Screens two{{mainScreen, rightScreen}, mainScreen};
        QTest::newRow("inside the second screen: kept") << two << u"{2000, 100}"_s << QPoint(2000, 100);
        QTest::newRow("mostly on the second screen: clamped into it") << two << u"{1800, 100}"_s << QPoint(1920, 100);
        QTest::newRow("100 px on the second screen's right edge: clamped")
            << two << u"{3100, 100}"_s << QPoint(2870, 100);
        QTest::newRow("off every screen: top-right of the first") << two << u"{5000, 5000}"_s << QPoint(1570, 20);
        QTest::newRow("(-500, -500): top-right, 20 in") << Screens{{mainScreen}, mainScreen} << u"{-500, -500}"_s
                                                     << QPoint(1570, 20);
        QTest::newRow("60 px of width visible: top-right") << Screens{{mainScreen}, mainScreen} << u"{1860, 100}"_s
                                                         << QPoint(1570, 20);
        QTest::newRow("30 px of height visible: top-right") << Screens{{mainScreen}, mainScreen} << u"{100, 1050}"_s
                                                          << QPoint(1570, 20);
        QTest::newRow("100 by 50 visible: only clamped") << Screens{{mainScreen}, mainScreen} << u"{1820, 1030}"_s
                                                       << QPoint(1590, 928);
        QTest::newRow("wider than the screen: right edge aligned")
            << Screens{{QRectF(0, 0, 300, 600)}, std::nullopt} << u"{-10, 100}"_s << QPoint(-30, 100);
        QTest::newRow("taller than the screen: top edge aligned")
            << Screens{{QRectF(0, 0, 800, 100)}, std::nullopt} << u"{10, -20}"_s << QPoint(10, 0);
        QTest::newRow("equal overlap: the earlier screen wins")
            << Screens{{QRectF(0, 0, 1000, 1000), QRectF(1000, 0, 1000, 1000)}, std::nullopt} << u"{835, 100}"_s
            << QPoint(670, 100);
        QTest::newRow("no screen overlapped: the first in the list")
            << Screens{{QRectF(1000, 0, 1000, 1000), QRectF(0, 0, 1000, 1000)}, std::nullopt} << u"{5000, 0}"_s
            << QPoint(1650, 20);
        QTest::newRow("empty screen list: the primary screen") << Screens{{}, mainScreen} << u"{5000, 0}"_s
                                                            << QPoint(1570, 20);
        QTest::newRow("no screen at all: left alone") << Screens{} << u"{5000, 0}"_s << QPoint(5000, 0);
        QTest::newRow("unreadable: (0, 0), then corrected") << Screens{{QRectF(100, 100, 800, 600)}, std::nullopt}
                                                          << u"nowhere"_s << QPoint(100, 100);
    }
    void restore()
    {
        QFETCH(Screens, screens);
        QFETCH(QString, saved);
        QFETCH(QPoint, origin);
        m_screens = screens;
        settings().setValue(FloatingWindowController::positionKey, saved);
        const QWidget &window = attachPanel();
        QCOMPARE(window.pos(), origin);
        QCOMPARE(window.size(), panelSize);
    }

    void firstStartSavesNothingUntilAMove()
    {
        QWidget &window = attachShownPanel();
        QCOMPARE(window.pos(), QPoint(1570, 20));
        waitForSaves();
        QVERIFY(!settings().contains(FloatingWindowController::positionKey));
        window.move(1000, 300);
        QTRY_COMPARE(saved(), u"{1000, 300}"_s);
        QCOMPARE(m_settings->reopen()->value(FloatingWindowController::positionKey).toString(), u"{1000, 300}"_s);
    }

    void restoreIsNotWrittenBack()
    {
        settings().setValue(FloatingWindowController::positionKey, u"{5000, 5000}"_s);
        QWidget &window = attachShownPanel();
        QCOMPARE(window.pos(), QPoint(1570, 20));
        waitForSaves();
        QCOMPARE(saved(), u"{5000, 5000}"_s);
        window.move(1200, 40);
        QTRY_COMPARE(saved(), u"{1200, 40}"_s);
    }

    void restartRestoresTheSavedPlace()
    {
        attachShownPanel().move(700, 500);
        QTRY_COMPARE(saved(), u"{700, 500}"_s);
        QCOMPARE(attachPanel().pos(), QPoint(700, 500));
    }

    void aMoveIsSavedOnceItSettles()
    {
        QWidget &window = attachShownPanel({100, 100});
        window.move(0, 0);
        window.move(300, 200);
        QTRY_COMPARE(saved(), u"{300, 200}"_s);
        // A move the window takes back at once is not worth a write.
        window.move(0, 0);
        window.move(300, 200);
        settings().remove(FloatingWindowController::positionKey);
        waitForSaves();
        QVERIFY(!settings().contains(FloatingWindowController::positionKey));
    }

    void aPendingSaveIsWrittenAtTheEnd()
    {
        attachShownPanel({100, 100}).move(300, 200);
        m_controller.reset();
        QCOMPARE(saved(), u"{300, 200}"_s);
    }

    void halfAPointChangesNothing()
    {
        QWidget &window = attachPanel({100, 100});
        // Off screen on purpose: a resize that does nothing must not correct it either.
        window.move(-1000, -1000);
        m_controller->resize(QSizeF(330.5, 151.5), false);
        QCOMPARE(window.geometry(), QRect(-1000, -1000, 330, 152));
        m_controller->resize(QSizeF(330, 153), false);
        QCOMPARE(window.geometry(), QRect(1570, 20, 330, 153));
    }

    void growthKeepsTheTopEdge()
    {
        QWidget &window = attachPanel({100, 100});
        m_controller->resize(QSizeF(330, 300), false);
        QCOMPARE(window.geometry(), QRect(100, 100, 330, 300));
        m_controller->resize(QSizeF(330, 152), false);
        QCOMPARE(window.geometry(), QRect(100, 100, 330, 152));
    }

    void growthNearTheBottomMovesUpAndIsSaved()
    {
        QWidget &window = attachShownPanel({100, 900});
        m_controller->resize(QSizeF(330, 300), false);
        QCOMPARE(window.geometry(), QRect(100, 780, 330, 300));
        QTRY_COMPARE(saved(), u"{100, 780}"_s);
    }

    void hiddenPanelIsNotAnimated()
    {
        QWidget &window = attachPanel({100, 100});
        m_controller->resize(QSizeF(330, 400), true);
        QCOMPARE(window.geometry(), QRect(100, 100, 330, 400));
    }

    void shownPanelIsAnimated()
    {
        QWidget &window = attachShownPanel({100, 100});
        m_controller->resize(QSizeF(330, 400), true);
        QCOMPARE_LT(window.height(), 400);
        QTRY_COMPARE(window.geometry(), QRect(100, 100, 330, 400));
    }

    void showPanelBringsALostPanelBack()
    {
        QWidget &window = attachShownPanel({100, 100});
        window.move(1880, 100);
        m_controller->hidePanel();
        QVERIFY(!window.isVisible());
        m_controller->showPanel();
        QVERIFY(window.isVisible());
        QCOMPARE(window.pos(), QPoint(1570, 20));
    }

    void hideAndShowKeepThePlace()
    {
        QWidget &window = attachShownPanel({700, 500});
        m_controller->hidePanel();
        m_controller->showPanel();
        QCOMPARE(window.geometry(), QRect(700, 500, 330, 152));
    }

    void alphaIsReset()
    {
        QWidget &window = attachPanel();
        QCOMPARE(window.windowOpacity(), 1.0);
        window.setWindowOpacity(0.4);
        m_controller->resetWindowAlpha();
        QCOMPARE(window.windowOpacity(), 1.0);
    }

    void goneWindowIsIgnored()
    {
        attachShownPanel();
        m_window.reset();
        m_controller->resize(QSizeF(330, 400), true);
        m_controller->showPanel();
        m_controller->hidePanel();
        m_controller->resetWindowAlpha();
        waitForSaves();
        QVERIFY(!settings().contains(FloatingWindowController::positionKey));
    }
};

QTEST_MAIN(TestFloatingWindowController)
#include "tst_floatingwindowcontroller.moc"
