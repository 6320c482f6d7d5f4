#pragma once

#include <QIcon>

// The app's mark as the tray shows it: two sheets on a 20-unit grid, drawn from paths.
class AppIcon
{
public:
    // Light on a dark desktop and dark on a light one, marked as a mask so that trays which
    // recolour symbolic icons may do so.
    static QIcon trayIcon(bool dark);
    // The mark, monochrome in `color`, at `size` device pixels.
    static QImage image(int size, const QColor &color);
};
