#pragma once

#include "app/AppDelegate.h"
#include "app/MenuCommands.h"

#include <QIcon>
#include <QObject>
#include <QSocketNotifier>
#include <QSystemTrayIcon>

#include <memory>

// The application: the delegate with the store and the panel, the tray icon and its
// menu, and the ways the process can end (menu, panel, Ctrl+Q, SIGTERM, session end),
// all of which finalise a pending deletion first.
class CorvaneApp : public QObject
{
    Q_OBJECT

public:
    CorvaneApp(KeychainStore &keychain, QSettings &settings, QObject *parent = nullptr);
    ~CorvaneApp() override;

    // The tray image: the two-sheet mark, monochrome in `color`, at `size` device pixels.
    static QImage menuBarIcon(int size, const QColor &color);

    AppDelegate &delegate() { return m_delegate; }
    MenuCommands &menuCommands() { return m_menuCommands; }
    QSystemTrayIcon &trayIcon() { return m_trayIcon; }
    // Brings the panel back, as the tray menu's show command does.
    void showPanel();
    // Shows the panel and imports each file (a path or a file: URL), one after the other.
    void openFiles(const QStringList &files);

private:
    static QIcon trayIconImage();
    void quitOnTerminationSignals();

    AppDelegate m_delegate;
    MenuCommands m_menuCommands;
    QSystemTrayIcon m_trayIcon;
    std::unique_ptr<QSocketNotifier> m_signalNotifier;
};
