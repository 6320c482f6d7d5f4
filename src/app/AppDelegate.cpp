#include "app/AppDelegate.h"

#include "app/InteractiveFloatingPanel.h"
#include "app/KeyHandler.h"
#include "ui/AddFlows.h"
#include "ui/ContentView.h"
#include "ui/PanelHeader.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QScreen>

AppDelegate::AppDelegate(KeychainStore &keychain, QSettings &settings, Clock clock, QObject *parent)
    : QObject(parent),
      m_clock(std::move(clock)),
      m_store(keychain, settings, m_clock),
      m_windowController(settings),
      m_transfer(m_store)
{}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching(bool startHidden)
{
    m_clipboard = std::make_unique<CodeClipboard>(QApplication::clipboard());
    m_content = new ContentView(m_store, *m_clipboard, m_clock);
    connect(m_content, &ContentView::sizeRequested, &m_windowController, &FloatingWindowController::resize);
    connect(m_content, &ContentView::windowAlphaResetRequested, &m_windowController,
            &FloatingWindowController::resetWindowAlpha);
    connect(m_content, &ContentView::quitRequested, this, &AppDelegate::quitRequested);
    connect(m_content, &ContentView::exportRequested, &m_transfer, &TransferCommands::exportBackup);
    connect(m_content, &ContentView::importRequested, &m_transfer, &TransferCommands::chooseAndImport);
    connect(m_content, &ContentView::qrCodeRequested, &m_transfer, &TransferCommands::showQrCode);
    connect(m_content->header(), &PanelHeader::titleMenuAboutToShow, this, [this](QMenu *menu, QAction *about) {
        auto *iconPack = new QAction(tr("导入图标包…"), menu);
        connect(iconPack, &QAction::triggered, &m_transfer, &TransferCommands::importIconPack);
        menu->insertAction(about, iconPack);
    });
    connect(m_content->header(), &PanelHeader::titleMenuAboutToShow, this, &AppDelegate::titleMenuAboutToShow);

    m_panel = std::make_unique<InteractiveFloatingPanel>();
    m_panel->setContent(m_content);
    m_panel->resize(initialPanelSize);
    placeTopRight();
    m_windowController.attach(m_panel.get());
    m_transfer.setDialogParent(m_panel.get());
    if (!startHidden) {
        m_panel->setAttribute(Qt::WA_ShowWithoutActivating);
        m_panel->show();
        m_panel->setAttribute(Qt::WA_ShowWithoutActivating, false);
    }

    m_keyMonitor = std::make_unique<KeyHandler>(m_panel.get(), m_windowController);
    connect(m_keyMonitor.get(), &KeyHandler::copyTokenAtIndex, m_content, &ContentView::copyShownRow);
    connect(m_keyMonitor.get(), &KeyHandler::pasteSecretAndAdd, &m_content->addFlows(), &AddFlows::pasteAndAdd);
    m_keyMonitor->setEscapeHandler([content = QPointer(m_content)] { return content && content->clearFilter(); });
    qApp->installEventFilter(m_keyMonitor.get());
}

KeychainStatusPresenter &AppDelegate::statusLine() const
{
    return *m_content->statusPresenter();
}

void AppDelegate::setReduceMotion(bool reduceMotion)
{
    m_content->setReduceMotion(reduceMotion);
}

// The panel's top-right corner in from the primary screen's available area.
void AppDelegate::placeTopRight()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const int inset = FloatingWindowController::cornerInset;
    m_panel->move(area.right() + 1 - m_panel->width() - inset, area.top() + inset);
}

void AppDelegate::setSessionLocked(bool locked)
{
    if (!m_panel)
        return;
    if (locked) {
        m_shownBeforeLock = m_panel->isVisible();
        m_panel->hide();
        m_clipboard->takeBackCode();
    } else if (std::exchange(m_shownBeforeLock, false)) {
        m_windowController.showPanel(false);
    }
}

void AppDelegate::applicationWillTerminate()
{
    if (m_keyMonitor)
        qApp->removeEventFilter(m_keyMonitor.get());
    m_store.finalizePendingDeletion();
    m_store.awaitKeychain(exitKeychainWait);
}
