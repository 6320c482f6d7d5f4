#pragma once

#include <QProcess>
#include <QRect>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

// A private X server (Xvfb on a free display) with openbox, for tests that need real
// windows. Everything it starts is stopped, by its own process, when it is destroyed.
class XvfbSession
{
public:
    ~XvfbSession();

    // Starts Xvfb and openbox and waits until the window manager runs; on failure
    // returns false with the reason in `error`.
    bool start(QString *error);
    // Starts a compositing manager; it takes its selection shortly after.
    bool startCompositor(QString *error);
    // Starts a tray host (trayer) along the top edge, reserving its strip of the screen,
    // and waits until the window manager's work area leaves that strip out.
    bool startTray(QString *error);
    // The window manager's work area (_NET_WORKAREA, first desktop); empty when
    // none is announced.
    QRect workArea() const;

    // The environment of a Qt program shown on this display.
    QProcessEnvironment environment() const;
    // Runs an X client on this display and returns its standard output.
    QString run(const QString &program, const QStringList &arguments) const;

private:
    QProcess &launch(const QString &program, const QStringList &arguments);
    // Polls until `ready` holds (true) or `process` has quit or the time is up (false).
    bool waitWhileRunning(const QProcess &process, const std::function<bool()> &ready) const;

    QString m_display;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};
