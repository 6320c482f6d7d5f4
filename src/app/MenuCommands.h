#pragma once

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
    // Rebuilds the items from the current settings.
    void rebuild();
    static QString delayText(qint64 seconds);

Q_SIGNALS:
    void quitRequested();

private:
    void addDelayMenu();
    void addOpacityMenu();
    void addAboutMenu();

    TokenStore &m_store;
    FloatingWindowController &m_windowController;
    QMenu m_menu;
};
