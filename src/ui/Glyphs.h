#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>

class QPainter;

// The symbols the panel draws in place of the system symbol font.
enum class Glyph {
    Plus,
    Minus,
    XMark,
    ChevronDown,
    Checkmark,
    DocOnDoc,
    DocOnClipboard,
    Trash,
    CircleLeftHalfFilled,
    HandTap,
    Pencil,
};

namespace Glyphs {

// Glyphs are drawn on a square of this many units.
inline constexpr qreal gridSize = 20;

// The area to fill for the glyph on the unit grid, its lines `lineWidth` units wide.
QPainterPath path(Glyph glyph, qreal lineWidth);

// Fills the glyph scaled to the largest square centred in `rect`, with lines
// `lineWidth` pixels wide whatever the scale.
void paint(QPainter &painter, Glyph glyph, const QRectF &rect, const QColor &color, qreal lineWidth);

} // namespace Glyphs
