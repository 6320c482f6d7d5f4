#include "support/XvfbSession.h"

#include <QDeadlineTimer>
#include <QThread>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int startTimeoutMs = 15000;

} // namespace

XvfbSession::~XvfbSession()
{
    // The window manager and compositor first, the server last.
    while (!m_processes.empty()) {
        m_processes.back()->terminate();
        if (!m_processes.back()->waitForFinished(5000)) {
            m_processes.back()->kill();
            m_processes.back()->waitForFinished(5000);
        }
        m_processes.pop_back();
    }
}

bool XvfbSession::start(QString *error)
{
    // -displayfd lets the server pick a free display number and tell us which.
    QProcess &server =
        launch(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s, u"-screen"_s, u"0"_s, u"1280x800x24"_s});
    QDeadlineTimer deadline(startTimeoutMs);
    while (!server.canReadLine() && server.state() != QProcess::NotRunning && !deadline.hasExpired())
        server.waitForReadyRead(100);
    const QByteArray number = server.readLine().trimmed();
    if (number.isEmpty()) {
        *error = u"Xvfb did not start: "_s + server.errorString() + u" "_s
                 + QString::fromLocal8Bit(server.readAllStandardError());
        return false;
    }
    m_display = u":"_s + QString::fromLatin1(number);

    // openbox gives up when the server turns its first connection away; try again.
    const auto managed = [this] {
        return run(u"xprop"_s, {u"-root"_s, u"_NET_SUPPORTING_WM_CHECK"_s}).contains(u"window id"_s);
    };
    for (int attempt = 0; attempt < 3; ++attempt) {
        QProcess &manager = launch(u"openbox"_s, {u"--sm-disable"_s});
        if (waitWhileRunning(manager, managed))
            return true;
        *error = u"openbox did not start on "_s + m_display + u": "_s
                 + QString::fromLocal8Bit(manager.readAllStandardError());
    }
    return false;
}

bool XvfbSession::startCompositor(QString *error)
{
    const QProcess &compositor = launch(u"xcompmgr"_s, {u"-c"_s});
    *error = u"xcompmgr did not start: "_s + compositor.errorString();
    return compositor.state() == QProcess::Running;
}

bool XvfbSession::startTray(QString *error)
{
    const QProcess &tray =
        launch(u"trayer"_s, {u"--edge"_s, u"top"_s, u"--align"_s, u"right"_s, u"--widthtype"_s, u"request"_s,
                             u"--height"_s, u"24"_s, u"--SetDockType"_s, u"true"_s, u"--SetPartialStrut"_s, u"true"_s});
    if (waitWhileRunning(tray, [this] { return workArea().top() > 0; }))
        return true;
    *error = u"trayer did not start on "_s + m_display + u": "_s + tray.errorString();
    return false;
}

QRect XvfbSession::workArea() const
{
    // "_NET_WORKAREA(CARDINAL) = x, y, width, height, ..." with one rectangle a desktop.
    const QString text = run(u"xprop"_s, {u"-root"_s, u"_NET_WORKAREA"_s});
    const QStringList numbers = text.section(u'=', 1).split(u',');
    if (numbers.size() < 4)
        return {};
    return {numbers.at(0).trimmed().toInt(), numbers.at(1).trimmed().toInt(), numbers.at(2).trimmed().toInt(),
            numbers.at(3).trimmed().toInt()};
}

QProcessEnvironment XvfbSession::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DISPLAY"_s, m_display);
    environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    environment.remove(u"WAYLAND_DISPLAY"_s);
    return environment;
}

QString XvfbSession::run(const QString &program, const QStringList &arguments) const
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

QProcess &XvfbSession::launch(const QString &program, const QStringList &arguments)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment());
    process->start(program, arguments);
    process->waitForStarted(startTimeoutMs);
    m_processes.push_back(std::move(process));
    return *m_processes.back();
}

bool XvfbSession::waitWhileRunning(const QProcess &process, const std::function<bool()> &ready) const
{
    for (QDeadlineTimer deadline(startTimeoutMs); !deadline.hasExpired() && process.state() == QProcess::Running;
         QThread::msleep(100)) {
        if (ready())
            return true;
    }
    return false;
}
