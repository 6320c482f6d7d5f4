#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>

// A passive grab of one key combination on the X root window, whatever window has the
// focus. One press acts once: a held key repeats as presses without releases. A release
// can also never arrive (the focus moved to a window of another server's world, another
// program grabbed the keyboard), so while the key counts as held the server is asked
// now and then whether it still is, and the next press is never lost.
class X11KeyGrab : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    // Whether the key with this keycode is held down now.
    using KeyQuery = std::function<bool(std::uint8_t keycode)>;
    static constexpr int heldCheckMs = 100;

    X11KeyGrab(std::uint32_t root, std::uint8_t keycode, std::uint16_t modifiers, KeyQuery held = serverKeyHeld,
               QObject *parent = nullptr);
    ~X11KeyGrab() override;

    // Grabs the keys and starts filtering; false when another program holds them.
    bool grab();
    // The server's answer; false without an X server.
    static bool serverKeyHeld(std::uint8_t keycode);

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

Q_SIGNALS:
    void pressed();

private:
    void ungrab();
    void checkStillHeld();

    std::uint32_t m_root;
    std::uint8_t m_keycode;
    std::uint16_t m_modifiers;
    KeyQuery m_held;
    bool m_grabbed = false;
    bool m_down = false;
    QTimer m_heldCheck;
};
