#pragma once

#include <QColor>
#include <QPalette>
#include <QPen>

// The panel's named colours, in sRGB.
namespace Palette {

// A blue that is lighter in the dark scheme.
QColor accentColor(bool dark);
// The panel's very light blue, the same in both schemes.
QColor mistBlue();
// Black in the light scheme, white in the dark one.
QColor primary(bool dark);
// The primary colour faded for symbols that should recede.
QColor secondary(bool dark);
// `color` at `opacity` (0 to 1), whatever its own alpha.
QColor faded(QColor color, float opacity);
// The panel body's colour: opaque at full opacity; otherwise a translucent backdrop, the base
// colour faded by the opacity setting and a faint blue tint, laid one over the other. Where no
// compositor runs the window cannot be translucent, so the backdrop is opaque there.
QColor panelBody(bool dark, double opacity, bool translucent);
// The outline drawn around the control that has the keyboard focus.
QPen focusRingPen(bool dark);
// Whether the palette is a dark scheme, judged by its window colour.
bool isDark(const QPalette &palette);
// A dark widget palette, for a desktop that asks for the dark scheme while its own
// style paints light.
QPalette darkScheme();

} // namespace Palette
