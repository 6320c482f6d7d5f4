#include "app/MenuCommands.h"

#include "app/FloatingWindowController.h"
#include "store/TokenStore.h"
#include "ui/AboutItems.h"
#include "ui/HideCodesItem.h"
#include "ui/OpacityPopover.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// One check mark, on the current choice: the other items draw no empty box.
void markIfCurrent(QAction *item, bool current)
{
    item->setCheckable(current);
    item->setChecked(current);
}

} // namespace

MenuCommands::MenuCommands(TokenStore &store, FloatingWindowController &windowController, QObject *parent)
    : QObject(parent),
      m_store(store),
      m_windowController(windowController)
{
    m_show.setShortcut(QKeySequence(u"Ctrl+T"_s));
    m_quit.setShortcut(QKeySequence(u"Ctrl+Q"_s));
    connect(&m_show, &QAction::triggered, this, [this] {
        m_windowController.showPanel();
        m_store.unlockKeychain(); // a person's action: the moment a locked keychain may ask
    });
    connect(&m_quit, &QAction::triggered, this, &MenuCommands::quitRequested);
    connect(&m_menu, &QMenu::aboutToShow, this, &MenuCommands::rebuild);
    rebuild();
}

QString MenuCommands::delayText(qint64 seconds)
{
    return seconds == 0 ? tr("不自动清除") : tr("%n 秒", nullptr, seconds);
}

void MenuCommands::rebuild()
{
    // clear() leaves the submenus alive: they are children of the menu, not its actions.
    qDeleteAll(m_menu.findChildren<QMenu *>(Qt::FindDirectChildrenOnly));
    m_menu.clear();
    fill(m_menu, true);
}

void MenuCommands::setShortcutLine(const QString &text)
{
    m_shortcutLine = text;
    rebuild();
}

void MenuCommands::addCommandsTo(QMenu &menu)
{
    fill(menu, false);
}

void MenuCommands::fill(QMenu &menu, bool forTray)
{
    menu.addAction(&m_show);
    if (!m_shortcutLine.isEmpty())
        menu.addAction(m_shortcutLine)->setEnabled(false);
    addDelayMenu(menu);
    addOpacityMenu(menu);
    if (forTray) // the title menu has its own
        HideCodesItem::addTo(menu, m_store.preferences());
    menu.addSeparator();
    if (forTray) {
        menu.addAction(tr("导出备份…"), this, &MenuCommands::exportRequested);
        menu.addAction(tr("导入…"), this, &MenuCommands::importRequested);
        menu.addAction(tr("导入图标包…"), this, &MenuCommands::iconPackRequested);
        menu.addAction(tr("自动备份…"), this, &MenuCommands::backupSetupRequested);
        menu.addAction(tr("从备份恢复…"), this, &MenuCommands::backupRestoreRequested);
        menu.addSeparator();
        AboutItems::addTo(*menu.addMenu(tr("关于岚签")));
        menu.addSeparator();
    }
    menu.addAction(&m_quit);
}

void MenuCommands::addDelayMenu(QMenu &menu)
{
    QMenu *delays = menu.addMenu(tr("复制后清除剪贴板"));
    for (const qint64 seconds : clearDelays) {
        QAction *item = delays->addAction(delayText(seconds), this, [this, seconds] {
            m_store.preferences().setClipboardClearDelay(seconds);
            m_store.preferences().persist();
        });
        markIfCurrent(item, m_store.preferences().clipboardClearDelay() == seconds);
    }
}

void MenuCommands::addOpacityMenu(QMenu &menu)
{
    QMenu *levels = menu.addMenu(tr("窗口透明度"));
    for (const OpacityPopover::Level &level : OpacityPopover::levels()) {
        const double opacity = level.opacity;
        QAction *item = levels->addAction(level.label, this, [this, opacity] {
            m_store.preferences().setPanelOpacity(opacity);
            m_store.preferences().persist();
        });
        markIfCurrent(item, level.isCurrent(m_store.preferences().panelOpacity()));
    }
}
