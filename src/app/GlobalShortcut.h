#pragma once

#include "app/PortalGlobalShortcut.h"

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>
#include <memory>

// A key combination that reaches the application wherever the keyboard focus is,
// Ctrl+Alt+K unless the desktop chose other keys: in a Wayland session through the
// desktop portal where it offers global shortcuts, otherwise a passive grab on the X
// root window. When another program holds the keys, or neither way is there, the
// shortcut stays inactive and says why.
class GlobalShortcut : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    static inline const QString keysText = QStringLiteral("Ctrl+Alt+K");

    // Waiting: the desktop portal has not answered yet.
    enum class State { Waiting, Active, Taken, Unavailable };

    explicit GlobalShortcut(QObject *parent = nullptr);
    ~GlobalShortcut() override;

    State state() const { return m_state; }
    bool isActive() const { return m_state == State::Active; }
    // The keys as the desktop names them.
    QString keys() const { return m_keys; }
    // The menu line that shows the keys, or why there are none.
    QString menuText() const;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

Q_SIGNALS:
    void activated();
    void stateChanged();

private:
    void usePortal();
    void grabOnX11();
    void setState(State state);
    bool grab(std::uint8_t keycode);
    void ungrab();

    State m_state = State::Unavailable;
    QString m_keys = keysText;
    std::unique_ptr<PortalGlobalShortcut> m_portal;

    std::uint32_t m_root = 0;
    std::uint8_t m_keycode = 0;
    // Held keys repeat as presses without releases; one press acts once.
    bool m_down = false;
};
