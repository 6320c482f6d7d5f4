#include "InteractiveFloatingPanel.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestInteractiveFloatingPanel : public QObject
{
    Q_OBJECT

private:
    // A shown panel holding a label (which ignores presses) above a button.
    struct Shown
    {
        InteractiveFloatingPanel panel;
        QLabel *label = nullptr;
        QPushButton *button = nullptr;
    };
    static void show(Shown &shown)
    {
        auto *content = new QWidget;
        auto *layout = new QVBoxLayout(content);
        shown.label = new QLabel(u"岚签"_s);
        shown.button = new QPushButton(u"复制"_s);
        layout->addWidget(shown.label);
        layout->addWidget(shown.button);
        shown.panel.setContent(content);
        shown.panel.setGeometry(200, 100, 330, 152);
        shown.panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shown.panel));
    }
    // Press, move by `delta` and release, all on `widget`.
    static void drag(QWidget *widget, QPoint delta)
    {
        const QPoint from = widget->rect().center();
        QTest::mousePress(widget, Qt::LeftButton, {}, from);
        QTest::mouseMove(widget, from + delta);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, from + delta);
    }

private Q_SLOTS:
    void isAFramelessFloatingToolWindow()
    {
        const InteractiveFloatingPanel panel;
        QVERIFY(panel.isWindow());
        QCOMPARE(panel.windowType(), Qt::Tool);
        QVERIFY(panel.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(panel.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!panel.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
        QCOMPARE(panel.windowTitle(), u"岚签"_s);
    }

    void draggingTheBackgroundMovesIt()
    {
        // No window manager here: the panel moves itself.
        Shown shown;
        show(shown);
        drag(&shown.panel, {40, 30});
        QCOMPARE(shown.panel.pos(), QPoint(240, 130));
        drag(shown.label, {-20, 10});
        QCOMPARE(shown.panel.pos(), QPoint(220, 140));
    }

    void draggingAButtonDoesNot()
    {
        Shown shown;
        show(shown);
        drag(shown.button, {40, 30});
        QCOMPARE(shown.panel.pos(), QPoint(200, 100));
    }

    void newContentReplacesTheOld()
    {
        InteractiveFloatingPanel panel;
        QPointer<QWidget> first = new QLabel;
        panel.setContent(first);
        auto *second = new QLabel;
        panel.setContent(second);
        QVERIFY(first.isNull());
        QCOMPARE(panel.content(), second);
        QCOMPARE(second->parentWidget(), &panel);
    }
};

QTEST_MAIN(TestInteractiveFloatingPanel)
#include "tst_interactivefloatingpanel.moc"
