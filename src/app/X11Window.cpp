#include "app/X11Window.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <initializer_list>
#include <memory>

namespace X11Window {

namespace {

struct FreeDeleter
{
    void operator()(void *reply) const { std::free(reply); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

// The screen number of DISPLAY (":0.1" is screen 1), as xcb_connect reads it.
int screenNumber()
{
    const QByteArray display = qgetenv("DISPLAY");
    const qsizetype dot = display.lastIndexOf('.');
    const qsizetype colon = display.lastIndexOf(':');
    return dot > colon ? display.mid(dot + 1).toInt() : 0;
}

xcb_window_t rootOf(xcb_connection_t *c)
{
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = screenNumber(); i > 0 && it.rem > 1; --i)
        xcb_screen_next(&it);
    return it.data->root;
}

// The atoms this file uses, interned together on first use: one round trip to the
// X server for all of them, once per process.
struct Atoms
{
    xcb_atom_t compositorSelection;
    xcb_atom_t desktop;
    xcb_atom_t state;
    xcb_atom_t skipTaskbar;
    xcb_atom_t skipPager;
    xcb_atom_t activeWindow;
};

const Atoms &atoms(xcb_connection_t *c)
{
    static const Atoms interned = [c] {
        const std::array<QByteArray, 6> names{"_NET_WM_CM_S" + QByteArray::number(screenNumber()),
                                              "_NET_WM_DESKTOP",
                                              "_NET_WM_STATE",
                                              "_NET_WM_STATE_SKIP_TASKBAR",
                                              "_NET_WM_STATE_SKIP_PAGER",
                                              "_NET_ACTIVE_WINDOW"};
        std::array<xcb_intern_atom_cookie_t, names.size()> cookies{};
        for (size_t i = 0; i < names.size(); ++i)
            cookies[i] = xcb_intern_atom(c, false, names[i].size(), names[i].constData());
        std::array<xcb_atom_t, names.size()> found{};
        for (size_t i = 0; i < names.size(); ++i) {
            const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookies[i], nullptr));
            found[i] = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        }
        return Atoms{found[0], found[1], found[2], found[3], found[4], found[5]};
    }();
    return interned;
}

// EWMH client messages: the data of a _NET_WM_STATE "add" and the source indications
// of an ordinary application and of a direct user action (as pagers send).
constexpr quint32 allDesktops = 0xFFFFFFFF;
constexpr quint32 stateAdd = 1;
constexpr quint32 normalSource = 1;
constexpr quint32 userSource = 2;

void sendToWindowManager(xcb_connection_t *c, xcb_window_t window, xcb_atom_t type, std::initializer_list<quint32> data)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    std::copy(data.begin(), data.end(), event.data.data32);
    xcb_send_event(c, false, rootOf(c), XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&event));
}

} // namespace

bool isWaylandSession()
{
    return qEnvironmentVariableIsSet("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland";
}

xcb_connection_t *connection()
{
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

std::uint32_t rootWindow()
{
    xcb_connection_t *c = connection();
    return c ? rootOf(c) : xcb_window_t(XCB_WINDOW_NONE);
}

bool hasInputFocus(WId window)
{
    xcb_connection_t *c = connection();
    if (!c)
        return false;
    const Reply<xcb_get_input_focus_reply_t> reply(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    return reply && reply->focus == static_cast<xcb_window_t>(window);
}

void activateForUser(WId window)
{
    xcb_connection_t *c = connection();
    if (!c)
        return;
    sendToWindowManager(c, static_cast<xcb_window_t>(window), atoms(c).activeWindow,
                        {userSource, XCB_CURRENT_TIME, XCB_WINDOW_NONE});
    xcb_flush(c);
}

void giveKeyboard(QWidget *window)
{
    if (connection())
        activateForUser(window->winId());
    else
        window->activateWindow();
}

bool compositorRunning()
{
    xcb_connection_t *c = connection();
    if (!c)
        return true;
    const Reply<xcb_get_selection_owner_reply_t> reply(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atoms(c).compositorSelection), nullptr));
    return reply && reply->owner != XCB_WINDOW_NONE;
}

void setOnAllDesktops(WId window)
{
    xcb_connection_t *c = connection();
    if (!c)
        return;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window), atoms(c).desktop,
                        XCB_ATOM_CARDINAL, 32, 1, &allDesktops);
    xcb_flush(c);
}

void requestOnAllDesktops(WId window)
{
    xcb_connection_t *c = connection();
    if (!c)
        return;
    const auto id = static_cast<xcb_window_t>(window);
    const Atoms &names = atoms(c);
    sendToWindowManager(c, id, names.desktop, {allDesktops, normalSource});
    sendToWindowManager(c, id, names.state, {stateAdd, names.skipTaskbar, names.skipPager, normalSource});
    xcb_flush(c);
}

} // namespace X11Window
