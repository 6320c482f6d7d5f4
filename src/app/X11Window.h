#pragma once

#include <qwindowdefs.h>

#include <cstdint>

class QWidget;
struct xcb_connection_t;

// The window-manager properties Qt does not set for us. Every call does nothing when
// the application is not on an X server.
namespace X11Window {

// Whether the desktop session is a Wayland one, where the X server is XWayland.
bool isWaylandSession();
// The application's X connection; null when it is not on an X server.
xcb_connection_t *connection();
// The root window of the display's screen.
std::uint32_t rootWindow();

// Whether `window` has the X input focus, asked of the server rather than of the focus
// events Qt has handled so far.
bool hasInputFocus(WId window);
// Asks the window manager to focus `window` as the person's own doing (a global key),
// as pagers do, so that no focus-stealing guard keeps the focus where it is.
void activateForUser(WId window);
// The same for a shown window, or Qt's own activation away from X11.
void giveKeyboard(QWidget *window);
// Whether translucent windows show what is behind them: on X11 only while a compositing
// manager owns _NET_WM_CM_S<screen> (without one they paint black); elsewhere always.
bool compositorRunning();
// _NET_WM_DESKTOP = 0xFFFFFFFF (every desktop) on an unmapped window. The window manager
// drops the property when the window is unmapped, so it is set again before every map.
void setOnAllDesktops(WId window);
// The same, and no taskbar or pager entry, asked of the window manager for a window
// just mapped: a map right after an unmap may otherwise lose the property.
void requestOnAllDesktops(WId window);

} // namespace X11Window
