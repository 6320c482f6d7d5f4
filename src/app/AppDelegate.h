#pragma once

#include "app/FloatingWindowController.h"
#include "app/TransferCommands.h"
#include "store/TokenStore.h"
#include "ui/CodeClipboard.h"

#include <QObject>

#include <memory>

class ContentView;
class InteractiveFloatingPanel;
class KeychainStatusPresenter;
class KeyHandler;
class QMenu;

// The panel and what it shows: owns the process's one store and window controller, builds
// and shows the floating panel at launch, installs its keyboard shortcuts, and cleans up
// before the process ends. What lies outside the panel reaches its parts only through the
// signals and methods below.
class AppDelegate : public QObject
{
    Q_OBJECT

public:
    static constexpr QSize initialPanelSize{330, 152};
    // How long the exit waits for the keychain's deletions and saves under way; a deletion cut
    // off is finished at the next start.
    static constexpr std::chrono::milliseconds exitKeychainWait{2000};

    AppDelegate(KeychainStore &keychain, QSettings &settings, Clock clock, QObject *parent = nullptr);
    ~AppDelegate() override;

    // Builds the panel and, unless `startHidden`, shows it without taking the keyboard
    // from the window in use.
    void applicationDidFinishLaunching(bool startHidden = false);
    void applicationWillTerminate();
    // Locked, the panel hides (an account's QR code closes with it) and a code copied from
    // it leaves the clipboard; unlocked, the panel comes back if it was shown.
    void setSessionLocked(bool locked);

    TokenStore &store() { return m_store; }
    FloatingWindowController &windowController() { return m_windowController; }
    TransferCommands &transferCommands() { return m_transfer; }
    InteractiveFloatingPanel *panel() const { return m_panel.get(); }
    ContentView *contentView() const { return m_content; }
    // The line under the header that states the keychain's and other problems.
    KeychainStatusPresenter &statusLine() const;
    void setReduceMotion(bool reduceMotion);

Q_SIGNALS:
    void quitRequested();
    // The panel's title menu is about to open: a chance to add commands to it, those on the
    // accounts before `about`.
    void titleMenuAboutToShow(QMenu *menu, QAction *about);

private:
    void placeTopRight();

    Clock m_clock;
    TokenStore m_store;
    FloatingWindowController m_windowController;
    TransferCommands m_transfer;
    std::unique_ptr<CodeClipboard> m_clipboard;
    std::unique_ptr<InteractiveFloatingPanel> m_panel;
    ContentView *m_content = nullptr;
    std::unique_ptr<KeyHandler> m_keyMonitor;
    bool m_shownBeforeLock = false;
};
