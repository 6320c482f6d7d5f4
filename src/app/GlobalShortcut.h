#pragma once

#include "app/PortalGlobalShortcut.h"
#include "app/X11KeyGrab.h"

#include <QObject>

#include <memory>

// A key combination that reaches the application wherever the keyboard focus is,
// Ctrl+Alt+K unless the desktop chose other keys: in a Wayland session through the
// desktop portal where it offers global shortcuts (an X grab there sees keys only while
// an X window has the focus), in an X11 session a grab on the root window. When another
// program holds the keys, or the desktop offers no way, the shortcut stays inactive and
// its texts say what to do instead.
class GlobalShortcut : public QObject
{
    Q_OBJECT

public:
    static inline const QString keysText = QStringLiteral("Ctrl+Alt+K");
    // The command a person binds in the desktop's keyboard settings where it offers no
    // global shortcut to programs.
    static inline const QString toggleCommand = QStringLiteral("corvane --toggle");

    // Waiting: the desktop portal has not answered yet.
    enum class State { Waiting, Active, Taken, Unavailable };

    // `wayland`: whether the session is a Wayland one.
    explicit GlobalShortcut(bool wayland, QObject *parent = nullptr);
    ~GlobalShortcut() override;

    State state() const { return m_state; }
    bool isActive() const { return m_state == State::Active; }
    // The keys as the desktop names them.
    QString keys() const { return m_keys; }
    // The menu line that shows the keys, or why there are none and what to do instead.
    QString menuText() const;
    // How a hidden panel comes back, for the hint shown when it is first hidden.
    QString showAgainHint() const;

Q_SIGNALS:
    void activated();
    void stateChanged();

private:
    void usePortal();
    void grabOnX11();
    void setState(State state);

    State m_state = State::Unavailable;
    QString m_keys = keysText;
    std::unique_ptr<PortalGlobalShortcut> m_portal;
    std::unique_ptr<X11KeyGrab> m_grab;
};
