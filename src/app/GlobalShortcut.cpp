#include "app/GlobalShortcut.h"

#include "app/X11Window.h"
#include "engine/Logging.h"

#include <QCoreApplication>

#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr xcb_keysym_t keysymK = 0x006b; // XK_k
constexpr std::uint16_t modifiers = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
// A grab matches the modifier state exactly, so the combination is also grabbed with
// Caps Lock and Num Lock on. The keys are reported on the root window even while one of
// our own windows has the focus.
constexpr std::uint16_t lockMask = XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2;
constexpr std::array<std::uint16_t, 4> lockStates{0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2, lockMask};

struct FreeDeleter
{
    void operator()(void *p) const { std::free(p); }
};

// The keycode that types `keysym` in the current keyboard map; 0 when none does.
std::uint8_t keycodeFor(xcb_connection_t *c, xcb_keysym_t keysym)
{
    const xcb_setup_t *setup = xcb_get_setup(c);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const std::unique_ptr<xcb_get_keyboard_mapping_reply_t, FreeDeleter> map(xcb_get_keyboard_mapping_reply(
        c, xcb_get_keyboard_mapping(c, setup->min_keycode, static_cast<std::uint8_t>(count)), nullptr));
    if (!map)
        return 0;
    const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(map.get());
    const int perCode = map->keysyms_per_keycode;
    for (int i = 0; i < count * perCode; ++i) {
        if (syms[i] == keysym)
            return static_cast<std::uint8_t>(setup->min_keycode + i / perCode);
    }
    return 0;
}

} // namespace

GlobalShortcut::GlobalShortcut(QObject *parent) : QObject(parent)
{
    // Under Wayland an X grab only sees keys while one of our windows has the focus.
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        usePortal();
    else
        grabOnX11();
}

GlobalShortcut::~GlobalShortcut()
{
    if (m_keycode != 0)
        ungrab();
}

QString GlobalShortcut::menuText() const
{
    switch (m_state) {
    case State::Active:
        return u"全局快捷键：%1"_s.arg(m_keys);
    case State::Waiting:
        return u"全局快捷键 %1：等待桌面确认"_s.arg(m_keys);
    case State::Taken:
        return u"全局快捷键 %1 已被其他程序占用"_s.arg(m_keys);
    case State::Unavailable:
        break;
    }
    return u"全局快捷键 %1 在此桌面不可用"_s.arg(m_keys);
}

void GlobalShortcut::usePortal()
{
    m_state = State::Waiting;
    m_portal = std::make_unique<PortalGlobalShortcut>(u"toggle-panel"_s, u"显示或隐藏岚签浮窗"_s, u"CTRL+ALT+k"_s);
    connect(m_portal.get(), &PortalGlobalShortcut::activated, this, &GlobalShortcut::activated);
    connect(m_portal.get(), &PortalGlobalShortcut::bound, this, [this](const QString &trigger) {
        if (!trigger.isEmpty())
            m_keys = trigger;
        setState(State::Active);
    });
    connect(m_portal.get(), &PortalGlobalShortcut::failed, this, [this] {
        if (!m_portal)
            return;
        m_portal.release()->deleteLater();
        grabOnX11();
        Q_EMIT stateChanged();
    });
}

void GlobalShortcut::grabOnX11()
{
    xcb_connection_t *c = X11Window::connection();
    if (!c) {
        qCInfo(lcApp) << "no global shortcut: neither the desktop portal nor an X server offers one";
        m_state = State::Unavailable;
        return;
    }
    const std::uint8_t keycode = keycodeFor(c, keysymK);
    if (keycode == 0) {
        m_state = State::Unavailable;
        return;
    }
    if (!grab(keycode)) {
        qCWarning(lcApp).noquote() << keysText << "is taken by another program; running without the global shortcut";
        m_state = State::Taken;
        return;
    }
    m_state = State::Active;
    QCoreApplication::instance()->installNativeEventFilter(this);
}

void GlobalShortcut::setState(State state)
{
    m_state = state;
    Q_EMIT stateChanged();
}

bool GlobalShortcut::grab(std::uint8_t keycode)
{
    xcb_connection_t *c = X11Window::connection();
    m_root = X11Window::rootWindow();
    m_keycode = keycode;
    for (const std::uint16_t locks : lockStates) {
        const xcb_void_cookie_t cookie = xcb_grab_key_checked(c, false, m_root, modifiers | locks, keycode,
                                                              XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (const std::unique_ptr<xcb_generic_error_t, FreeDeleter> error(xcb_request_check(c, cookie)); error) {
            ungrab();
            return false;
        }
    }
    return true;
}

void GlobalShortcut::ungrab()
{
    if (xcb_connection_t *c = X11Window::connection()) {
        for (const std::uint16_t locks : lockStates)
            xcb_ungrab_key(c, m_keycode, m_root, modifiers | locks);
        xcb_flush(c);
    }
    m_keycode = 0;
}

bool GlobalShortcut::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
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
        return true;
    }
    if ((key->state & ~lockMask) != modifiers)
        return false;
    if (!m_down)
        Q_EMIT activated();
    m_down = true;
    return true;
}
