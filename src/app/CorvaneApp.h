#pragma once

#include "app/AppDelegate.h"
#include "app/BackupFeature.h"
#include "app/CodeAccess.h"
#include "app/ColorSchemeFollower.h"
#include "app/DesktopSettings.h"
#include "app/DialogFocus.h"
#include "app/GlobalShortcut.h"
#include "app/MenuCommands.h"
#include "app/SessionLockWatcher.h"
#include "app/StartupSequence.h"
#include "app/TerminationSignals.h"
#include "app/TrayIcon.h"
#include "app/X11Window.h"
#include "ui/ReturnKeyFilter.h"

#include <QObject>

#include <memory>

// The running application around the panel: it ties the panel (AppDelegate) to the
// desktop — the tray icon and its menu, the global shortcut, the session lock, the
// desktop's colour scheme (ColorSchemeFollower) and animation setting, automatic backups —
// and to the ways the process can end (menu, panel, Ctrl+Q, TerminationSignals, session
// end), all of which finalise a pending deletion first. It offers the tray's commands in the
// panel's title menu while no tray is there. What the panel's first frame does not need
// (menus, tray icon, global shortcut, desktop settings) is built once that frame is on
// screen.
class CorvaneApp : public QObject
{
    Q_OBJECT

public:
    CorvaneApp(KeychainStore &keychain, QSettings &settings, bool startHidden = false, QObject *parent = nullptr);
    ~CorvaneApp() override;

    AppDelegate &delegate() { return m_delegate; }
    // Brings the panel back without taking the keyboard from the window in use, as a
    // launch does.
    void showPanel();
    // Shows the panel and imports each file (a path or a file: URL), one after the other.
    void openFiles(const QStringList &files);
    // Shows and focuses the panel, or hides it when it has the keyboard.
    void togglePanel();
    // One of the single instance's actions: "toggle", "show" (and focus) or "hide".
    void runAction(const QString &action);

private:
    // A problem the tray's tooltip mentions beside the app's name; empty for none.
    void setStatusNote(const QString &note);
    void startBackups(KeychainStore &keychain);
    // Brings the panel back with the keyboard, for a person's own gesture.
    void focusPanel();
    void buildMenus();
    void showTrayIcon();
    void followDesktop();
    void takeShortcut();
    void followSessionLock();
    void offerTrayCommands(QMenu *titleMenu);
    // Once ever, and only without a tray: how to bring a hidden panel back.
    void sayHowToShowAgain();

    QSettings &m_settings;
    QString m_statusNote;
    TerminationSignals m_terminationSignals;
    ColorSchemeFollower m_colorScheme;
    ReturnKeyFilter m_returnKeys;
    DialogFocus m_dialogFocus;
    AppDelegate m_delegate;
    std::unique_ptr<BackupFeature> m_backups;
    std::unique_ptr<CodeAccess> m_codeAccess;
    std::unique_ptr<StartupSequence> m_startup;
    std::unique_ptr<MenuCommands> m_menuCommands;
    std::unique_ptr<TrayIcon> m_trayIcon;
    std::unique_ptr<DesktopSettings> m_desktop;
    std::unique_ptr<GlobalShortcut> m_shortcut;
    std::unique_ptr<SessionLockWatcher> m_sessionLock;
};
