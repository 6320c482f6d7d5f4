#include "app/CorvaneApp.h"

#include "app/AppIcon.h"
#include "app/DesktopNotifier.h"
#include "app/InteractiveFloatingPanel.h"
#include "app/X11Window.h"
#include "store/SettingsKeys.h"
#include "ui/PanelMessageBox.h"

#include <QApplication>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

CorvaneApp::CorvaneApp(KeychainStore &keychain, QSettings &settings, bool startHidden, QObject *parent)
    : QObject(parent),
      m_settings(settings),
      m_colorScheme(settings),
      m_delegate(keychain, settings, systemClock)
{
    connect(&m_delegate, &AppDelegate::quitRequested, qApp, &QCoreApplication::quit);
    connect(qApp, &QCoreApplication::aboutToQuit, &m_delegate, &AppDelegate::applicationWillTerminate);
    connect(&m_terminationSignals, &TerminationSignals::received, qApp, &QCoreApplication::quit);
    qApp->installEventFilter(&m_returnKeys);
    qApp->installEventFilter(&m_dialogFocus);
    connect(&m_colorScheme, &ColorSchemeFollower::darkChanged, this, [this](bool dark) {
        if (m_trayIcon)
            m_trayIcon->setIcon(AppIcon::trayIcon(dark));
    });

    m_delegate.applicationDidFinishLaunching(startHidden);
    connect(&m_delegate, &AppDelegate::titleMenuAboutToShow, this, &CorvaneApp::offerTrayCommands);
    startBackups(keychain);
    m_codeAccess = std::make_unique<CodeAccess>(m_delegate, keychain,
                                                [this] { return m_sessionLock && m_sessionLock->isLocked(); });
    connect(m_codeAccess.get(), &CodeAccess::panelRequested, this, &CorvaneApp::focusPanel);
    connect(&m_delegate.windowController(), &FloatingWindowController::panelHidden, this,
            &CorvaneApp::sayHowToShowAgain);

    m_startup = std::make_unique<StartupSequence>(m_delegate.panel());
    m_startup->afterFirstPaint([this] { buildMenus(); });
    m_startup->afterFirstPaint([this] { showTrayIcon(); });
    m_startup->afterFirstPaint([this] { followDesktop(); });
    m_startup->afterFirstPaint([this] { takeShortcut(); });
    m_startup->afterFirstPaint([this] { followSessionLock(); });
    if (startHidden)
        m_startup->skipFirstPaint();
}

CorvaneApp::~CorvaneApp() = default;

void CorvaneApp::startBackups(KeychainStore &keychain)
{
    m_backups =
        std::make_unique<BackupFeature>(m_delegate.store(), keychain, m_settings, m_delegate.transferCommands());
    connect(m_backups.get(), &BackupFeature::problemChanged, this, &CorvaneApp::setStatusNote);
    QWidget *panel = m_delegate.panel();
    m_backups->showIn(m_delegate.statusLine(), panel);
    connect(&m_delegate, &AppDelegate::titleMenuAboutToShow, m_backups.get(),
            [this, panel](QMenu *menu, QAction *about) { m_backups->offerIn(menu, about, panel); });
}

void CorvaneApp::buildMenus()
{
    m_menuCommands = std::make_unique<MenuCommands>(m_delegate.store(), m_delegate.windowController());
    connect(m_menuCommands.get(), &MenuCommands::quitRequested, qApp, &QCoreApplication::quit);
    connect(m_menuCommands.get(), &MenuCommands::exportRequested, &m_delegate.transferCommands(),
            &TransferCommands::exportBackup);
    connect(m_menuCommands.get(), &MenuCommands::importRequested, &m_delegate.transferCommands(),
            &TransferCommands::chooseAndImport);
    connect(m_menuCommands.get(), &MenuCommands::iconPackRequested, &m_delegate.transferCommands(),
            &TransferCommands::importIconPack);
    connect(m_menuCommands.get(), &MenuCommands::backupSetupRequested, this, [this] {
        showPanel();
        m_backups->openSetup(m_delegate.panel());
    });
    connect(m_menuCommands.get(), &MenuCommands::backupRestoreRequested, this, [this] {
        showPanel();
        m_backups->openRestore(m_delegate.panel());
    });
    // The menu's Ctrl+T and Ctrl+Q also work while the panel has the keyboard.
    m_delegate.panel()->addActions(m_menuCommands->keyedActions());
}

void CorvaneApp::showTrayIcon()
{
    m_trayIcon = std::make_unique<TrayIcon>(X11Window::isWaylandSession());
    m_trayIcon->setIcon(AppIcon::trayIcon(m_colorScheme.isDark()));
    setStatusNote(m_statusNote);
    m_trayIcon->setContextMenu(m_menuCommands->menu());
    connect(m_trayIcon.get(), &TrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            focusPanel();
    });
    m_trayIcon->show();
}

void CorvaneApp::setStatusNote(const QString &note)
{
    m_statusNote = note;
    if (m_trayIcon)
        m_trayIcon->setToolTip(note.isEmpty() ? tr("岚签") : tr("岚签") + u'\n' + note);
}

void CorvaneApp::followDesktop()
{
    m_desktop = std::make_unique<DesktopSettings>(QDBusConnection::sessionBus(), m_colorScheme.savedScheme());
    connect(m_desktop.get(), &DesktopSettings::colorSchemeChanged, &m_colorScheme,
            &ColorSchemeFollower::desktopSchemeChanged);
    connect(m_desktop.get(), &DesktopSettings::reduceMotionChanged, &m_delegate, &AppDelegate::setReduceMotion);
}

void CorvaneApp::takeShortcut()
{
    m_shortcut = std::make_unique<GlobalShortcut>(X11Window::isWaylandSession());
    const auto showKeys = [this] { m_menuCommands->setShortcutLine(m_shortcut->menuText()); };
    showKeys();
    connect(m_shortcut.get(), &GlobalShortcut::stateChanged, this, showKeys);
    connect(m_shortcut.get(), &GlobalShortcut::activated, this, &CorvaneApp::togglePanel);
}

void CorvaneApp::followSessionLock()
{
    m_sessionLock = std::make_unique<SessionLockWatcher>();
    connect(m_sessionLock.get(), &SessionLockWatcher::lockedChanged, &m_delegate, &AppDelegate::setSessionLocked);
}

void CorvaneApp::showPanel()
{
    m_delegate.windowController().showPanel(false);
    m_delegate.store().unlockKeychain();
}

void CorvaneApp::focusPanel()
{
    showPanel();
    X11Window::giveKeyboard(m_delegate.panel());
}

void CorvaneApp::openFiles(const QStringList &files)
{
    showPanel();
    // Each waits its turn: the file is read on the event loop, so a caller over the bus has
    // its answer before any dialog opens.
    QStringList paths;
    for (const QString &file : files) {
        const QUrl url(file);
        paths << (url.isLocalFile() ? url.toLocalFile() : file);
    }
    m_delegate.transferCommands().importFiles(paths);
}

void CorvaneApp::togglePanel()
{
    QWidget *panel = m_delegate.panel();
    const bool focused = X11Window::connection() ? X11Window::hasInputFocus(panel->winId()) : panel->isActiveWindow();
    if (panel->isVisible() && focused) {
        m_delegate.windowController().hidePanel();
        return;
    }
    focusPanel();
}

void CorvaneApp::runAction(const QString &action)
{
    if (action == u"toggle"_s) {
        togglePanel();
    } else if (action == u"hide"_s) {
        m_delegate.windowController().hidePanel();
    } else {
        focusPanel();
    }
}

void CorvaneApp::offerTrayCommands(QMenu *titleMenu)
{
    if (!m_menuCommands || (m_trayIcon && m_trayIcon->isAvailable()))
        return;
    titleMenu->addSeparator();
    m_menuCommands->addCommandsTo(*titleMenu);
}

void CorvaneApp::sayHowToShowAgain()
{
    if ((m_trayIcon && m_trayIcon->isAvailable()) || m_settings.value(SettingsKeys::hideHintShown).toBool())
        return;
    m_settings.setValue(SettingsKeys::hideHintShown, true);
    m_settings.sync();
    const QString text = m_shortcut ? m_shortcut->showAgainHint() : tr("岚签仍在运行。再次打开岚签，即可显示浮窗。");
    // A message box where no notification service runs.
    DesktopNotifier::notify(tr("岚签已隐藏"), text, this, [text] {
        auto *box = new PanelMessageBox(text);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::NonModal);
        box->show();
    });
}
