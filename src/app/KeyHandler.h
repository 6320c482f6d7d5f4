#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class FloatingWindowController;
class QKeyEvent;
class QWidget;

// The panel's keyboard shortcuts, seen before any widget: Ctrl+1..3 copy a row's code,
// Ctrl+Shift+V adds the secret on the clipboard, Escape hides the panel. They act only
// while the key goes to the panel itself with no dialog open over it.
class KeyHandler : public QObject
{
    Q_OBJECT

public:
    enum class Action { CopyFirst, CopySecond, CopyThird, PasteAndAdd, HidePanel };

    KeyHandler(QWidget *panel, FloatingWindowController &controller, QObject *parent = nullptr);

    // Escape first asks `handler`, which returns true when it used the key up (clearing
    // a filter); only otherwise does Escape hide the panel.
    void setEscapeHandler(std::function<bool()> handler);

    // What a key press does, wherever it goes; absent when it passes on.
    static std::optional<Action> actionFor(const QKeyEvent &event);

Q_SIGNALS:
    // Ctrl+1..3: copy the code of the shown row at this zero-based position.
    void copyTokenAtIndex(int index);
    // Ctrl+Shift+V: add an account from the secret on the clipboard.
    void pasteSecretAndAdd();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool goesToPanel(QObject *receiver) const;
    void perform(Action action);

    QPointer<QWidget> m_panel;
    FloatingWindowController &m_controller;
    std::function<bool()> m_escapeHandler;
};
