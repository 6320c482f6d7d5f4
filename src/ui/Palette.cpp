#include "ui/Palette.h"

#include <algorithm>

namespace {

// `top` painted over `bottom`.
QColor over(const QColor &top, const QColor &bottom)
{
    const float a = top.alphaF(), b = bottom.alphaF() * (1 - a), alpha = a + b;
    if (alpha <= 0)
        return Qt::transparent;
    const auto mix = [&](float x, float y) { return (x * a + y * b) / alpha; };
    return QColor::fromRgbF(mix(top.redF(), bottom.redF()), mix(top.greenF(), bottom.greenF()),
                            mix(top.blueF(), bottom.blueF()), alpha);
}

} // namespace

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

QColor panelBody(bool dark, double opacity, bool translucent)
{
    const QColor base = dark ? QColor::fromRgbF(0.10f, 0.105f, 0.12f) : QColor::fromRgbF(0.985f, 0.987f, 0.992f);
    if (opacity >= 0.995)
        return base;
    const float t = float(std::clamp((opacity - 0.6) / 0.4, 0.0, 1.0));
    QColor color = translucent ? faded(base, 0.5f) : base; // stands in for the blur material
    color = over(faded(base, t), color);
    return over(faded(mistBlue(), dark ? 0.025f : 0.08f), color);
}

QPen focusRingPen(bool dark)
{
    return QPen(faded(accentColor(dark), 0.8f), 2);
}

bool isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightnessF() < 0.5f;
}

QPalette darkScheme()
{
    QPalette palette;
    const QColor window(36, 38, 42);
    const QColor text(235, 235, 240);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, QColor(28, 29, 33));
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(52, 54, 60));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::PlaceholderText, QColor(140, 142, 150));
    palette.setColor(QPalette::Highlight, QColor(77, 158, 255));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, window);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Light, QColor(70, 72, 78));
    palette.setColor(QPalette::Mid, QColor(60, 62, 68));
    palette.setColor(QPalette::Dark, QColor(20, 20, 24));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(130, 132, 140));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(130, 132, 140));
    return palette;
}

} // namespace Palette
