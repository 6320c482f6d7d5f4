#pragma once

#include <QAction>
#include <QMenu>
#include <QObject>

#include <array>

class FloatingWindowController;
class TokenStore;

// The tray icon's menu: show the panel, the clipboard delay and opacity choices, about,
// quit. Its items are rebuilt from the store each time it opens, so the check marks
// always show the current settings.
class MenuCommands : public QObject
{
    Q_OBJECT

public:
    static constexpr std::array<qint64, 5> clearDelays{15, 30, 60, 120, 0};

    MenuCommands(TokenStore &store, FloatingWindowController &windowController, QObject *parent = nullptr);

    QMenu *menu() { return &m_menu; }
    // The commands with keys (Ctrl+T, Ctrl+Q), which live as long as this object, so the
    // panel can offer the same keys.
    QList<QAction *> keyedActions() { return {&m_show, &m_quit}; }
    // Rebuilds the items from the current settings.
    void rebuild();
    // The tray's commands but for export, import and about, which the panel's title menu
    // has already: for that menu when there is no tray.
    void addCommandsTo(QMenu &menu);
    // A line under the show command naming the global shortcut; none when empty.
    void setShortcutLine(const QString &text);
    static QString delayText(qint64 seconds);

Q_SIGNALS:
    void quitRequested();
    void exportRequested();
    void importRequested();
    void iconPackRequested();
    void backupSetupRequested();
    void backupRestoreRequested();

private:
    void fill(QMenu &menu, bool forTray);
    void addDelayMenu(QMenu &menu);
    void addOpacityMenu(QMenu &menu);

    TokenStore &m_store;
    FloatingWindowController &m_windowController;
    QMenu m_menu;
    QAction m_show{tr("显示浮窗")};
    QAction m_quit{tr("退出岚签")};
    QString m_shortcutLine;
};
