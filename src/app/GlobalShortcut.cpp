#include "app/GlobalShortcut.h"

#include "app/X11Window.h"
#include "engine/Logging.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr xcb_keysym_t keysymK = 0x006b; // XK_k
constexpr std::uint16_t modifiers = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;

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

GlobalShortcut::GlobalShortcut(bool wayland, QObject *parent) : QObject(parent)
{
    if (wayland)
        usePortal();
    else
        grabOnX11();
}

GlobalShortcut::~GlobalShortcut() = default;

QString GlobalShortcut::menuText() const
{
    switch (m_state) {
    case State::Active:
        return tr("全局快捷键：%1").arg(m_keys);
    case State::Waiting:
        return tr("全局快捷键 %1：等待桌面确认").arg(m_keys);
    case State::Taken:
        return tr("全局快捷键 %1 已被其他程序占用").arg(m_keys);
    case State::Unavailable:
        break;
    }
    return tr("此桌面不提供全局快捷键：可在系统的键盘快捷键设置中为命令 %1 添加快捷键").arg(toggleCommand);
}

QString GlobalShortcut::showAgainHint() const
{
    if (isActive())
        return tr("岚签仍在运行。按 %1 或再次打开岚签，即可显示浮窗。").arg(m_keys);
    return tr("岚签仍在运行。再次打开岚签，或运行 %1（可在系统的键盘快捷键设置中为它添加快捷键），即可显示浮窗。")
        .arg(toggleCommand);
}

void GlobalShortcut::usePortal()
{
    m_state = State::Waiting;
    m_portal = std::make_unique<PortalGlobalShortcut>(u"toggle-panel"_s, tr("显示或隐藏岚签浮窗"), u"CTRL+ALT+k"_s);
    connect(m_portal.get(), &PortalGlobalShortcut::activated, this, &GlobalShortcut::activated);
    connect(m_portal.get(), &PortalGlobalShortcut::bound, this, [this](const QString &trigger) {
        if (!trigger.isEmpty())
            m_keys = trigger;
        setState(State::Active);
    });
    connect(m_portal.get(), &PortalGlobalShortcut::failed, this, [this] {
        if (!m_portal)
            return;
        qCInfo(lcApp) << "no global shortcut: the desktop portal offers none;" << toggleCommand << "serves instead";
        m_portal.release()->deleteLater();
        setState(State::Unavailable);
    });
}

void GlobalShortcut::grabOnX11()
{
    xcb_connection_t *c = X11Window::connection();
    const std::uint8_t keycode = c ? keycodeFor(c, keysymK) : 0;
    if (keycode == 0) {
        qCInfo(lcApp) << "no global shortcut: no X server with a K key";
        return;
    }
    m_grab = std::make_unique<X11KeyGrab>(X11Window::rootWindow(), keycode, modifiers);
    if (!m_grab->grab()) {
        qCWarning(lcApp).noquote() << keysText << "is taken by another program; running without the global shortcut";
        m_grab.reset();
        m_state = State::Taken;
        return;
    }
    connect(m_grab.get(), &X11KeyGrab::pressed, this, &GlobalShortcut::activated);
    m_state = State::Active;
}

void GlobalShortcut::setState(State state)
{
    m_state = state;
    qCInfo(lcApp).noquote() << "global shortcut:" << menuText();
    Q_EMIT stateChanged();
}
