#include "app/InteractiveFloatingPanel.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::Literals::StringLiterals;

class TestInteractiveFloatingPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A frameless tool window on top that owns its content, moved from where it does not act.
    void drag_data()
    {
        QTest::addColumn<int>("from"); // the panel, its label, its button
        QTest::addColumn<QPoint>("origin");
        // No window manager here: the panel moves itself.
        QTest::newRow("background: moves") << 0 << QPoint(240, 130);
        QTest::newRow("label (ignores presses): moves") << 1 << QPoint(240, 130);
        QTest::newRow("button: does not") << 2 << QPoint(200, 100);
    }
    void drag()
    {
        QFETCH(int, from);
        InteractiveFloatingPanel panel;
        QCOMPARE(panel.windowType(), Qt::Tool);
        QVERIFY(panel.windowFlags().testFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint));
        QCOMPARE(panel.windowTitle(), u"岚签"_s);
        QPointer<QWidget> first = new QLabel;
        panel.setContent(first);
        auto *content = new QWidget;
        auto *layout = new QVBoxLayout(content);
        const QList<QWidget *> widgets{&panel, new QLabel(u"岚签"_s), new QPushButton(u"复制"_s)};
        layout->addWidget(widgets[1]);
        layout->addWidget(widgets[2]);
        panel.setContent(content); // replaces (and deletes) the old
        QVERIFY(first.isNull() && content->parentWidget() == &panel);
        panel.setGeometry(200, 100, 330, 152);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        const QPoint at = widgets[from]->rect().center();
        QTest::mousePress(widgets[from], Qt::LeftButton, {}, at);
        QTest::mouseMove(widgets[from], at + QPoint(40, 30));
        QTest::mouseRelease(widgets[from], Qt::LeftButton, {}, at + QPoint(40, 30));
        QTEST(panel.pos(), "origin");
    }
};

QTEST_MAIN(TestInteractiveFloatingPanel)
#include "tst_interactivefloatingpanel.moc"
