// The panel on a real X server with a real window manager: desktops, the window manager's hints
// and translucency; the end-to-end walk drags it and restarts. The test starts a private Xvfb
// before its application, which then shows its windows there.
#include "app/FloatingWindowController.h"
#include "app/InteractiveFloatingPanel.h"
#include "app/X11Window.h"
#include "support/Require.h"
#include "support/TempSettings.h"
#include "support/XvfbSession.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::Literals::StringLiterals;

class TestFloatingPanelX11 : public QObject
{
    Q_OBJECT

public:
    explicit TestFloatingPanelX11(XvfbSession &session, const QString &error) : m_session(session), m_error(error) {}

private:
    XvfbSession &m_session;
    const QString m_error; // why the session did not start
    TempSettings m_settings;
    std::unique_ptr<FloatingWindowController> m_controller;
    std::unique_ptr<InteractiveFloatingPanel> m_panel;

    // A new panel as the application shows it at the launch default (20 in from the top-right
    // corner of the 1280-wide screen); its window id.
    QString showPanel()
    {
        m_panel = std::make_unique<InteractiveFloatingPanel>();
        m_panel->setContent(new QLabel(u"岚签"_s));
        m_panel->setGeometry(1280 - 330 - 20, 20, 330, 152);
        m_controller = std::make_unique<FloatingWindowController>(m_settings.settings());
        m_controller->attach(m_panel.get());
        m_controller->showPanel();
        return QString::number(m_panel->winId());
    }
    QString xprop(const QStringList &arguments) { return m_session.run(u"xprop"_s, arguments).trimmed(); }
    bool isViewable(const QString &wid)
    {
        return m_session.run(u"xwininfo"_s, {u"-id"_s, wid}).contains(u"IsViewable"_s);
    }
    // On every desktop: the property, and still viewable after each switch of desktop (ending on 2).
    void verifyOnEveryDesktop(const QString &wid)
    {
        QTRY_COMPARE_WITH_TIMEOUT(xprop({u"-id"_s, wid, u"_NET_WM_DESKTOP"_s}),
                                  u"_NET_WM_DESKTOP(CARDINAL) = 4294967295"_s, 10000);
        for (int desktop : {1, 3, 0, 2}) {
            m_session.run(u"xdotool"_s, {u"set_desktop"_s, QString::number(desktop)});
            QTRY_VERIFY(xprop({u"-root"_s, u"_NET_CURRENT_DESKTOP"_s}).endsWith(u"= %1"_s.arg(desktop)));
            QTRY_VERIFY2(isViewable(wid), qPrintable(u"hidden on desktop %1"_s.arg(desktop)));
        }
    }

private Q_SLOTS:
    void initTestCase() { CORVANE_REQUIRE(m_error.isEmpty(), qPrintable(m_error)); }

    void onEveryDesktopAboveWithoutATaskbarEntryAndTranslucentOnlyWithACompositor()
    {
        const QString wid = showPanel();
        verifyOnEveryDesktop(wid);
        const QString states = xprop({u"-id"_s, wid, u"_NET_WM_STATE"_s});
        QVERIFY2(states.contains(u"_SKIP_TASKBAR"_s) && states.contains(u"_NET_WM_STATE_ABOVE"_s), qPrintable(states));
        // No compositor: opaque, with a mask for the rounded corners.
        QVERIFY(!m_panel->isTranslucent() && !m_panel->mask().isEmpty());
        // Still on every desktop after hide and show, shown on a desktop other than the first...
        m_controller->hidePanel();
        QTRY_VERIFY(!isViewable(wid));
        m_controller->showPanel();
        verifyOnEveryDesktop(wid);
        // ... or again before the window manager has handled the unmap.
        m_controller->hidePanel();
        m_controller->showPanel();
        verifyOnEveryDesktop(wid);

        // With a compositor a new panel is translucent and needs no mask.
        QString error;
        QVERIFY2(m_session.startCompositor(&error), qPrintable(error));
        QTRY_VERIFY(X11Window::compositorRunning());
        showPanel();
        QVERIFY(m_panel->isTranslucent() && m_panel->mask().isEmpty());
    }
};

int main(int argc, char **argv)
{
    XvfbSession session;
    QString error;
    if (session.start(&error)) {
        qputenv("DISPLAY", session.environment().value(u"DISPLAY"_s).toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    QApplication app(argc, argv);
    TestFloatingPanelX11 test(session, error);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_floatingpanel_x11.moc"
