#include "app/CorvaneApp.h"

#include "app/InteractiveFloatingPanel.h"
#include "app/X11Window.h"
#include "engine/Logging.h"
#include "ui/Palette.h"
#include "ui/PanelMessageBox.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QStyle>
#include <QUrl>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// The mark on a 20-unit grid with y growing upwards, as drawn for the menu bar.
QPainterPath buildMarkPath()
{
    const auto p = [](qreal x, qreal y) { return QPointF(x, 20 - y); };
    QPainterPath a;
    a.moveTo(p(4.2, 7.2));
    a.cubicTo(p(4.2, 6.5), p(4.6, 6.0), p(5.3, 5.8));
    a.lineTo(p(14.3, 2.3));
    a.cubicTo(p(15.1, 2.0), p(15.8, 2.6), p(15.8, 3.5));
    a.lineTo(p(15.8, 8.0));
    a.cubicTo(p(15.8, 8.7), p(15.4, 9.2), p(14.8, 9.4));
    a.lineTo(p(4.2, 13.6));
    a.closeSubpath();
    QPainterPath b;
    b.moveTo(p(4.2, 13.6));
    b.cubicTo(p(4.2, 14.3), p(4.6, 14.8), p(5.2, 15.0));
    b.lineTo(p(9.4, 16.8));
    b.lineTo(p(8.0, 17.4));
    b.cubicTo(p(7.4, 17.7), p(7.1, 18.1), p(7.1, 18.7));
    b.lineTo(p(7.1, 19.2));
    b.lineTo(p(14.8, 16.1));
    b.cubicTo(p(15.4, 15.9), p(15.8, 15.4), p(15.8, 14.7));
    b.lineTo(p(15.8, 12.2));
    b.cubicTo(p(15.8, 11.5), p(15.4, 11.0), p(14.8, 10.8));
    b.lineTo(p(12.0, 9.6));
    b.closeSubpath();
    // Filled one after the other, so their overlap stays filled.
    return a.united(b);
}

// Built once: the tray draws it at eight sizes.
const QPainterPath &markPath()
{
    static const QPainterPath path = buildMarkPath();
    return path;
}

constexpr int notifyTimeoutMs = 1000;

int signalPipe[2] = {-1, -1};

void forwardSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

} // namespace

CorvaneApp::CorvaneApp(KeychainStore &keychain, QSettings &settings, bool startHidden, QObject *parent)
    : QObject(parent),
      m_settings(settings),
      m_delegate(keychain, settings, systemClock),
      m_desktopPalette(QApplication::palette())
{
    connect(&m_delegate, &AppDelegate::quitRequested, qApp, &QCoreApplication::quit);
    connect(qApp, &QCoreApplication::aboutToQuit, &m_delegate, &AppDelegate::applicationWillTerminate);
    quitOnTerminationSignals();
    qApp->installEventFilter(&m_returnKeys);
    qApp->installEventFilter(&m_dialogFocus);
    applyColorScheme(savedColorScheme());

    m_delegate.applicationDidFinishLaunching(startHidden);
    connect(&m_delegate, &AppDelegate::titleMenuAboutToShow, this, &CorvaneApp::offerTrayCommands);
    startBackups(keychain);
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
            [this, panel](QMenu *menu) { m_backups->offerIn(menu, panel); });
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
    m_trayIcon->setIcon(trayIconImage(m_dark));
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
    m_desktop = std::make_unique<DesktopSettings>(QDBusConnection::sessionBus(), savedColorScheme());
    connect(m_desktop.get(), &DesktopSettings::colorSchemeChanged, this, &CorvaneApp::desktopColorSchemeChanged);
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

// The desktop's stated scheme wins over the style's palette; without one the style's
// palette stands, and the widgets judge it by its lightness.
void CorvaneApp::applyColorScheme(DesktopSettings::ColorScheme scheme)
{
    const bool styleDark = Palette::isDark(m_desktopPalette);
    bool dark = styleDark;
    if (scheme != DesktopSettings::ColorScheme::NoPreference)
        dark = scheme == DesktopSettings::ColorScheme::Dark;
    if (dark == styleDark)
        QApplication::setPalette(m_desktopPalette);
    else
        QApplication::setPalette(dark ? Palette::darkScheme() : QApplication::style()->standardPalette());
    if (dark != m_dark && m_trayIcon)
        m_trayIcon->setIcon(trayIconImage(dark));
    m_dark = dark;
}

DesktopSettings::ColorScheme CorvaneApp::savedColorScheme() const
{
    const int scheme = m_settings.value(colorSchemeKey).toInt();
    return scheme >= 0 && scheme <= 2 ? DesktopSettings::ColorScheme(scheme)
                                      : DesktopSettings::ColorScheme::NoPreference;
}

// The portal answered, at start or on a change: follow it and remember it for the next start.
void CorvaneApp::desktopColorSchemeChanged(DesktopSettings::ColorScheme scheme)
{
    applyColorScheme(scheme);
    m_settings.setValue(colorSchemeKey, int(scheme));
    m_settings.sync();
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
    if ((m_trayIcon && m_trayIcon->isAvailable()) || m_settings.value(hideHintKey).toBool())
        return;
    m_settings.setValue(hideHintKey, true);
    m_settings.sync();
    const QString text = m_shortcut ? m_shortcut->showAgainHint() : tr("岚签仍在运行。再次打开岚签，即可显示浮窗。");
    // A desktop notification where a notification service runs, else a message box.
    QDBusMessage notify =
        QDBusMessage::createMethodCall(u"org.freedesktop.Notifications"_s, u"/org/freedesktop/Notifications"_s,
                                       u"org.freedesktop.Notifications"_s, u"Notify"_s);
    notify << tr("岚签") << 0u << u"org.corvane.Corvane"_s << tr("岚签已隐藏") << text << QStringList() << QVariantMap()
           << -1;
    // The answer only decides how to tell the person: a service that does not answer soon
    // counts as none.
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(notify, notifyTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [text](QDBusPendingCallWatcher *done) {
        done->deleteLater();
        if (!done->isError())
            return;
        qCInfo(lcApp) << "no notification service:" << done->error().name();
        auto *box = new PanelMessageBox(text);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::NonModal);
        box->show();
    });
}

QImage CorvaneApp::menuBarIcon(int size, const QColor &color)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 20.0, size / 20.0);
    painter.fillPath(markPath(), color);
    return image;
}

// Light on a dark desktop and dark on a light one, marked as a mask so that trays which
// recolour symbolic icons may do so.
QIcon CorvaneApp::trayIconImage(bool dark)
{
    QIcon icon;
    const QColor color = dark ? QColor(0xee, 0xee, 0xec) : QColor(0x2e, 0x34, 0x36);
    for (int size : {16, 20, 22, 24, 32, 40, 48, 64})
        icon.addPixmap(QPixmap::fromImage(menuBarIcon(size, color)));
    icon.setIsMask(true);
    return icon;
}

// SIGTERM and SIGINT end the event loop normally, so a pending deletion is finalised.
void CorvaneApp::quitOnTerminationSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) {
        qCWarning(lcApp) << "no termination signal handling:" << qt_error_string(errno);
        return;
    }
    m_signalNotifier = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    connect(m_signalNotifier.get(), &QSocketNotifier::activated, qApp, [] {
        char byte;
        [[maybe_unused]] const auto read = ::read(signalPipe[0], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = forwardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}
