// The panel on a real X server with a real window manager: desktops, the window manager's hints
// and translucency; the end-to-end walk drags it and restarts. The test runs itself again as the
// panel process ("--panel") on a private Xvfb and drives it through standard input.
#include "app/FloatingWindowController.h"
#include "app/InteractiveFloatingPanel.h"
#include "app/X11Window.h"
#include "support/TempSettings.h"
#include "support/XvfbSession.h"

#include <QApplication>
#include <QLabel>
#include <QSocketNotifier>
#include <QtTest>

#include <cstdio>
#include <memory>

using namespace Qt::Literals::StringLiterals;

class TestFloatingPanelX11 : public QObject
{
    Q_OBJECT

    XvfbSession m_session;
    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<QProcess> m_panel;

    void startPanel(const QStringList &options = {})
    {
        m_panel = std::make_unique<QProcess>();
        m_panel->setProcessEnvironment(m_session.environment());
        m_panel->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_panel->start(QCoreApplication::applicationFilePath(),
                       QStringList{u"--panel"_s, m_settings->fileName()} + options);
        QVERIFY2(m_panel->waitForStarted(), qPrintable(m_panel->errorString()));
    }
    QString command(const QString &line)
    {
        m_panel->write(line.toLatin1() + '\n');
        (void)QTest::qWaitFor([&] { return m_panel->canReadLine() || m_panel->state() != QProcess::Running; }, 15000);
        return QString::fromLatin1(m_panel->readLine()).trimmed();
    }
    // One value of the panel's answer to "state".
    QString state(const QString &key) { return command(u"state"_s).section(key + u'=', 1).section(u' ', 0, 0); }
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
    void initTestCase()
    {
        if (QString error; !m_session.start(&error)) {
            if (qEnvironmentVariable("CI") == u"true")
                QFAIL(qPrintable(error));
            QSKIP(qPrintable(error));
        }
    }
    void init() { m_settings = std::make_unique<TempSettings>(); }
    void cleanup()
    {
        if (m_panel && (m_panel->closeWriteChannel(), !m_panel->waitForFinished(10000))) // input's end ends it
            m_panel->kill();
        m_panel.reset();
    }

    void onEveryDesktopAboveWithoutATaskbarEntryOpaqueAndRounded()
    {
        startPanel();
        const QString wid = state(u"wid"_s);
        verifyOnEveryDesktop(wid);
        const QString states = xprop({u"-id"_s, wid, u"_NET_WM_STATE"_s});
        QVERIFY2(states.contains(u"_SKIP_TASKBAR"_s) && states.contains(u"_NET_WM_STATE_ABOVE"_s), qPrintable(states));
        // No compositor: opaque, with a mask for the rounded corners.
        QCOMPARE(state(u"translucent"_s) + state(u"masked"_s), u"01"_s);
        // Still on every desktop after hide and show, shown on a desktop other than the first...
        command(u"hide"_s);
        QTRY_VERIFY(!isViewable(wid));
        command(u"show"_s);
        verifyOnEveryDesktop(wid);
        // ... or again before the window manager has handled the unmap.
        command(u"hide-show"_s);
        verifyOnEveryDesktop(wid);
    }

    void translucentWithACompositor() // last: the compositor stays
    {
        QString error;
        QVERIFY2(m_session.startCompositor(&error), qPrintable(error));
        startPanel({u"--wait-compositor"_s});
        QCOMPARE(state(u"translucent"_s) + state(u"masked"_s), u"10"_s);
    }
};

int main(int argc, char **argv)
{
    // The panel as the application runs it, at the launch default (20 in from the top-right
    // corner of the 1280-wide screen). Commands, one a line: "hide", "show", "hide-show" (both
    // at once) and "state"; each is answered with the state line. It quits at end of input.
    if (argc > 2 && qstrcmp(argv[1], "--panel") == 0) {
        QApplication app(argc, argv);
        if (app.arguments().contains(u"--wait-compositor"_s))
            for (QDeadlineTimer deadline(10000); !X11Window::compositorRunning() && !deadline.hasExpired();)
                QThread::msleep(50);
        QSettings settings(app.arguments().at(2), QSettings::IniFormat);
        FloatingWindowController controller(settings);
        InteractiveFloatingPanel panel;
        panel.setContent(new QLabel(u"岚签"_s));
        panel.setGeometry(1280 - 330 - 20, 20, 330, 152);
        controller.attach(&panel);
        controller.showPanel();
        QSocketNotifier input(0, QSocketNotifier::Read);
        QObject::connect(&input, &QSocketNotifier::activated, [&] {
            char line[64] = {};
            if (!std::fgets(line, sizeof line, stdin))
                return QCoreApplication::quit();
            const QByteArray command = QByteArray(line).trimmed();
            if (command.startsWith("hide"))
                controller.hidePanel();
            if (command.endsWith("show"))
                controller.showPanel();
            std::printf("wid=%llu x=%d y=%d translucent=%d masked=%d\n", qulonglong(panel.winId()), panel.x(),
                        panel.y(), int(panel.isTranslucent()), int(!panel.mask().isEmpty()));
            std::fflush(stdout);
        });
        return app.exec();
    }
    QCoreApplication app(argc, argv);
    TestFloatingPanelX11 test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_floatingpanel_x11.moc"
