// The panel on a real X server with a real window manager: desktops, dragging and the
// saved place across a restart. The test runs itself again as the panel process
// ("--panel") on a private Xvfb and drives it through standard input.
#include "FloatingWindowController.h"
#include "InteractiveFloatingPanel.h"
#include "TempSettings.h"
#include "X11Window.h"
#include "XvfbSession.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QSocketNotifier>
#include <QtTest>

#include <cstdio>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

const QSize panelSize(330, 152);

// The panel as the application runs it. Commands, one a line: "hide", "show",
// "hide-show" (both at once), "state" and "quit"; each is answered with one line.
class PanelProcess : public QObject
{
public:
    explicit PanelProcess(const QString &settingsFile)
        : m_settings(settingsFile, QSettings::IniFormat)
        , m_controller(m_settings)
        , m_input(0, QSocketNotifier::Read)
    {
        m_panel.setContent(new QLabel(u"岚签"_s));
        // The launch default: 20 in from the top-right corner.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        m_panel.setGeometry(QRect({screen.x() + screen.width() - panelSize.width() - 20, screen.y() + 20}, panelSize));
        m_controller.attach(&m_panel);
        m_controller.showPanel();
        connect(&m_input, &QSocketNotifier::activated, this, &PanelProcess::readCommand);
    }

private:
    void readCommand()
    {
        char line[64] = {};
        if (!std::fgets(line, sizeof line, stdin))
            return QCoreApplication::quit();
        const QString command = QString::fromLatin1(line).trimmed();
        if (command == u"hide" || command == u"hide-show")
            m_controller.hidePanel();
        if (command == u"show" || command == u"hide-show")
            m_controller.showPanel();
        if (command == u"quit")
            QCoreApplication::quit();
        answer(command == u"state" ? state() : u"ok"_s);
    }
    QString state() const
    {
        return u"wid=%1 x=%2 y=%3 translucent=%4 masked=%5"_s.arg(m_panel.winId())
            .arg(m_panel.x())
            .arg(m_panel.y())
            .arg(int(m_panel.isTranslucent()))
            .arg(int(!m_panel.mask().isEmpty()));
    }
    static void answer(const QString &text)
    {
        std::printf("%s\n", qPrintable(text));
        std::fflush(stdout);
    }

    QSettings m_settings;
    FloatingWindowController m_controller;
    InteractiveFloatingPanel m_panel;
    QSocketNotifier m_input;
};

int runPanel(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.contains(u"--wait-compositor"_s)) {
        QDeadlineTimer deadline(10000);
        while (!X11Window::compositorRunning() && !deadline.hasExpired())
            QThread::msleep(50);
    }
    PanelProcess panel(arguments.at(2));
    return app.exec();
}

} // namespace

class TestFloatingPanelX11 : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<XvfbSession> m_session;
    std::unique_ptr<TempSettings> m_settings;
    std::unique_ptr<QProcess> m_panel;

    void startPanel(const QStringList &options = {})
    {
        m_panel = std::make_unique<QProcess>();
        m_panel->setProcessEnvironment(m_session->environment());
        m_panel->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_panel->start(QCoreApplication::applicationFilePath(),
                       QStringList{u"--panel"_s, m_settings->fileName()} + options);
        QVERIFY2(m_panel->waitForStarted(), qPrintable(m_panel->errorString()));
    }
    QString command(const QString &line)
    {
        m_panel->write(line.toLatin1() + '\n');
        QDeadlineTimer deadline(15000);
        while (!m_panel->canReadLine() && !deadline.hasExpired() && m_panel->state() == QProcess::Running)
            m_panel->waitForReadyRead(100);
        return QString::fromLatin1(m_panel->readLine()).trimmed();
    }
    // The panel's answer to "state" as key and value.
    QHash<QString, QString> state()
    {
        QHash<QString, QString> values;
        for (const QString &pair : command(u"state"_s).split(u' ')) {
            const qsizetype equals = pair.indexOf(u'=');
            values.insert(pair.left(equals), pair.mid(equals + 1));
        }
        return values;
    }
    QString state(const QString &key) { return state().value(key); }
    QPoint panelOrigin()
    {
        const QHash<QString, QString> values = state();
        return {values.value(u"x"_s).toInt(), values.value(u"y"_s).toInt()};
    }
    // The origin once it has stopped changing: while a window is mapped, openbox shows
    // it for a moment at its frame's provisional place, (0, 0).
    QPoint settledOrigin()
    {
        QPoint origin = panelOrigin();
        int sameReads = 0;
        for (QDeadlineTimer deadline(10000); sameReads < 3 && !deadline.hasExpired(); QTest::qWait(100)) {
            const QPoint now = panelOrigin();
            sameReads = now == origin ? sameReads + 1 : 0;
            origin = now;
        }
        return origin;
    }
    QString windowProperty(const QString &wid, const QString &name)
    {
        return m_session->run(u"xprop"_s, {u"-id"_s, wid, name}).trimmed();
    }
    bool isViewable(const QString &wid)
    {
        return m_session->run(u"xwininfo"_s, {u"-id"_s, wid}).contains(u"IsViewable"_s);
    }
    void switchToDesktop(int desktop)
    {
        m_session->run(u"xdotool"_s, {u"set_desktop"_s, QString::number(desktop)});
        QTRY_VERIFY(m_session->run(u"xprop"_s, {u"-root"_s, u"_NET_CURRENT_DESKTOP"_s})
                        .contains(u"= %1"_s.arg(desktop)));
    }
    // On every desktop: the property, and still viewable after a switch of desktop.
    void verifyOnEveryDesktop(const QString &wid)
    {
        QTRY_COMPARE_WITH_TIMEOUT(windowProperty(wid, u"_NET_WM_DESKTOP"_s), u"_NET_WM_DESKTOP(CARDINAL) = 4294967295"_s,
                                  10000);
        for (int desktop : {1, 3, 0}) {
            switchToDesktop(desktop);
            QTRY_VERIFY2(isViewable(wid), qPrintable(u"hidden on desktop %1"_s.arg(desktop)));
        }
    }
    QString savedOrigin()
    {
        return m_settings->reopen()->value(FloatingWindowController::positionKey).toString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_session = std::make_unique<XvfbSession>();
        QString error;
        if (!m_session->start(&error)) {
            if (qEnvironmentVariable("CI") == u"true")
                QFAIL(qPrintable(error));
            QSKIP(qPrintable(error));
        }
    }
    void init()
    {
        m_settings = std::make_unique<TempSettings>();
    }
    void cleanup()
    {
        if (m_panel && m_panel->state() == QProcess::Running) {
            command(u"quit"_s);
            if (!m_panel->waitForFinished(10000))
                m_panel->kill();
        }
        m_panel.reset();
    }

    void onEveryDesktopWithoutATaskbarEntry()
    {
        startPanel();
        const QString wid = state(u"wid"_s);
        QVERIFY(!wid.isEmpty());
        verifyOnEveryDesktop(wid);
        const QString states = windowProperty(wid, u"_NET_WM_STATE"_s);
        QVERIFY2(states.contains(u"_NET_WM_STATE_SKIP_TASKBAR"_s), qPrintable(states));
        QVERIFY2(states.contains(u"_NET_WM_STATE_ABOVE"_s), qPrintable(states));
    }

    void staysOnEveryDesktopAfterHideAndShow()
    {
        startPanel();
        const QString wid = state(u"wid"_s);
        QTRY_VERIFY(isViewable(wid));
        QCOMPARE(command(u"hide"_s), u"ok"_s);
        QTRY_VERIFY(!isViewable(wid));
        switchToDesktop(2);
        QCOMPARE(command(u"show"_s), u"ok"_s);
        verifyOnEveryDesktop(wid);
        // Shown again before the window manager has handled the unmap.
        QCOMPARE(command(u"hide-show"_s), u"ok"_s);
        verifyOnEveryDesktop(wid);
    }

    void opaqueAndRoundedWithoutACompositor()
    {
        startPanel();
        QCOMPARE(state(u"translucent"_s), u"0"_s);
        QCOMPARE(state(u"masked"_s), u"1"_s);
    }

    void dragMovesThePanelAndARestartRestoresIt()
    {
        startPanel();
        const QPoint start = settledOrigin();
        QCOMPARE(start, QPoint(1280 - 330 - 20, 20));
        QVERIFY2(savedOrigin().isEmpty(), qPrintable(savedOrigin()));
        const QPoint grab = start + QPoint(150, 100);
        const QPoint delta(-300, 200);
        // The window manager takes over the move at the first motion (that first pixel is
        // its starting point) a moment before the pointer goes on; the pauses give it that
        // moment, as a hand would.
        m_session->run(u"xdotool"_s, {u"mousemove"_s, QString::number(grab.x()), QString::number(grab.y()),
                                      u"mousedown"_s, u"1"_s, u"sleep"_s, u"0.2"_s,
                                      u"mousemove_relative"_s, u"--"_s, u"0"_s, u"1"_s, u"sleep"_s, u"0.3"_s,
                                      u"mousemove_relative"_s, u"--"_s, u"-150"_s, u"100"_s, u"sleep"_s, u"0.3"_s,
                                      u"mousemove_relative"_s, u"--"_s, u"-150"_s, u"100"_s, u"sleep"_s, u"0.3"_s,
                                      u"mouseup"_s, u"1"_s});
        const QPoint moved = start + delta;
        QTRY_COMPARE_WITH_TIMEOUT(settledOrigin(), moved, 10000);
        QTRY_COMPARE(savedOrigin(), FloatingWindowController::pointText(moved));

        cleanup();
        startPanel();
        QCOMPARE(settledOrigin(), moved);
    }

    void translucentWithACompositor()
    {
        QString error;
        QVERIFY2(m_session->startCompositor(&error), qPrintable(error));
        startPanel({u"--wait-compositor"_s});
        QCOMPARE(state(u"translucent"_s), u"1"_s);
        QCOMPARE(state(u"masked"_s), u"0"_s);
    }
};

int main(int argc, char **argv)
{
    if (argc > 2 && qstrcmp(argv[1], "--panel") == 0)
        return runPanel(argc, argv);
    QCoreApplication app(argc, argv);
    TestFloatingPanelX11 test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_floatingpanel_x11.moc"
