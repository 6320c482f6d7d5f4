#include "ui/Palette.h"

namespace Palette {

QColor accentColor(bool dark)
{
    return dark ? QColor::fromRgbF(0.3f, 0.62f, 1.0f) : QColor::fromRgbF(0.0f, 0.39f, 0.84f);
}

QColor mistBlue()
{
    return QColor::fromRgbF(0.95f, 0.97f, 1.0f);
}

QColor primary(bool dark)
{
    return dark ? QColor(Qt::white) : QColor(Qt::black);
}

QColor secondary(bool dark)
{
    QColor color = primary(dark);
    color.setAlphaF(dark ? 0.55f : 0.5f);
    return color;
}

QColor faded(QColor color, float opacity)
{
    color.setAlphaF(opacity);
    return color;
}

QPen focusRingPen(bool dark)
{
    return QPen(faded(accentColor(dark), 0.8f), 2);
}

bool isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightnessF() < 0.5f;
}

} // namespace Palette
