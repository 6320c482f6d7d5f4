#include "app/X11KeyGrab.h"

#include "app/X11Window.h"

#include <QCoreApplication>

#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <memory>

namespace {

// A grab matches the modifier state exactly, so the combination is also grabbed with
// Caps Lock and Num Lock on. The keys are reported on the root window even while one of
// our own windows has the focus.
constexpr std::uint16_t lockMask = XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2;
constexpr std::array<std::uint16_t, 4> lockStates{0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2, lockMask};

struct FreeDeleter
{
    void operator()(void *p) const { std::free(p); }
};

} // namespace

X11KeyGrab::X11KeyGrab(std::uint32_t root, std::uint8_t keycode, std::uint16_t modifiers, KeyQuery held,
                       QObject *parent)
    : QObject(parent),
      m_root(root),
      m_keycode(keycode),
      m_modifiers(modifiers),
      m_held(std::move(held))
{
    m_heldCheck.setInterval(heldCheckMs);
    connect(&m_heldCheck, &QTimer::timeout, this, &X11KeyGrab::checkStillHeld);
}

X11KeyGrab::~X11KeyGrab()
{
    if (m_grabbed)
        ungrab();
}

bool X11KeyGrab::grab()
{
    xcb_connection_t *c = X11Window::connection();
    if (!c)
        return false;
    m_grabbed = true;
    for (const std::uint16_t locks : lockStates) {
        const xcb_void_cookie_t cookie = xcb_grab_key_checked(c, false, m_root, m_modifiers | locks, m_keycode,
                                                              XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (const std::unique_ptr<xcb_generic_error_t, FreeDeleter> error(xcb_request_check(c, cookie)); error) {
            ungrab();
            return false;
        }
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
    return true;
}

void X11KeyGrab::ungrab()
{
    if (xcb_connection_t *c = X11Window::connection()) {
        for (const std::uint16_t locks : lockStates)
            xcb_ungrab_key(c, m_keycode, m_root, m_modifiers | locks);
        xcb_flush(c);
    }
    m_grabbed = false;
}

bool X11KeyGrab::serverKeyHeld(std::uint8_t keycode)
{
    xcb_connection_t *c = X11Window::connection();
    if (!c)
        return false;
    const std::unique_ptr<xcb_query_keymap_reply_t, FreeDeleter> keymap(
        xcb_query_keymap_reply(c, xcb_query_keymap(c), nullptr));
    return keymap && (keymap->keys[keycode / 8] & (1 << (keycode % 8)));
}

void X11KeyGrab::checkStillHeld()
{
    if (m_held(m_keycode))
        return;
    m_down = false;
    m_heldCheck.stop();
}

bool X11KeyGrab::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const std::uint8_t type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    const auto *key = static_cast<const xcb_key_press_event_t *>(message);
    if (key->detail != m_keycode || key->event != m_root)
        return false;
    // The release may come after Ctrl or Alt went up, so it is matched by key alone.
    if (type == XCB_KEY_RELEASE) {
        m_down = false;
        m_heldCheck.stop();
        return true;
    }
    if ((key->state & ~lockMask) != m_modifiers)
        return false;
    if (!m_down)
        Q_EMIT pressed();
    m_down = true;
    m_heldCheck.start();
    return true;
}
