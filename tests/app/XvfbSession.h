#pragma once

#include <QProcess>
#include <QStringList>

#include <memory>
#include <vector>

// A private X server (Xvfb on a free display) with openbox, for tests that need real
// windows. Everything it starts is stopped, by its own process, when it is destroyed.
class XvfbSession
{
public:
    XvfbSession() = default;
    XvfbSession(const XvfbSession &) = delete;
    XvfbSession &operator=(const XvfbSession &) = delete;
    ~XvfbSession();

    // Starts Xvfb and openbox and waits until the window manager runs; on failure
    // returns false with the reason in `error`.
    bool start(QString *error);
    // Starts a compositing manager; it takes its selection shortly after.
    bool startCompositor(QString *error);

    QString display() const { return m_display; }
    // The environment of a Qt program shown on this display.
    QProcessEnvironment environment() const;
    // Runs an X client on this display and returns its standard output.
    QString run(const QString &program, const QStringList &arguments) const;

private:
    QProcess &launch(const QString &program, const QStringList &arguments);
    // Until `manager` has announced itself on the root window, or has quit.
    bool waitForWindowManager(const QProcess &manager) const;

    QString m_display;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};
