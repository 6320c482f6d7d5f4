#pragma once

#include <QString>

// Where the XDG desktop portal answers on the session bus: every portal interface the app
// uses (settings, global shortcuts, screenshots) lives on this one object.
namespace DesktopPortal {

inline const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
inline const QString path = QStringLiteral("/org/freedesktop/portal/desktop");

} // namespace DesktopPortal
