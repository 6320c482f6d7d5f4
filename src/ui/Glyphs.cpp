#include "ui/Glyphs.h"

#include <QHash>
#include <QPainter>
#include <QPainterPathStroker>

namespace Glyphs {

namespace {

// Outlines of lines with round ends and joins; fills are built from these so that a
// glyph is one area and scales without a pen.
QPainterPath stroked(const QPainterPath &lines, qreal width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    QPainterPath outline = stroker.createStroke(lines);
    outline.setFillRule(Qt::WindingFill);
    return outline;
}

QPainterPath polyline(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    return path;
}

QPainterPath roundedRect(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

// The outline of `back` with the part hidden behind `front` (plus a gap) cut away,
// then `front` itself: two overlapping sheets.
QPainterPath stacked(const QPainterPath &back, const QPainterPath &front, qreal width)
{
    const QPainterPath cover = front.united(stroked(front, 3 * width));
    return stroked(back, width).subtracted(cover).united(stroked(front, width));
}

QPainterPath plus(qreal width)
{
    QPainterPath lines = polyline({{10, 3}, {10, 17}});
    lines.addPath(polyline({{3, 10}, {17, 10}}));
    return stroked(lines, width);
}

QPainterPath minus(qreal width)
{
    return stroked(polyline({{3, 10}, {17, 10}}), width);
}

QPainterPath xMark(qreal width)
{
    QPainterPath lines = polyline({{4.5, 4.5}, {15.5, 15.5}});
    lines.addPath(polyline({{15.5, 4.5}, {4.5, 15.5}}));
    return stroked(lines, width);
}

QPainterPath chevronDown(qreal width)
{
    return stroked(polyline({{3.5, 7}, {10, 13.5}, {16.5, 7}}), width);
}

QPainterPath checkmark(qreal width)
{
    return stroked(polyline({{3.5, 10.5}, {8, 15}, {16.5, 4.5}}), width);
}

QPainterPath docOnDoc(qreal width)
{
    return stacked(roundedRect({7, 2, 10, 12}, 2), roundedRect({3, 6, 10, 12}, 2), width);
}

QPainterPath docOnClipboard(qreal width)
{
    // A board with its clip at the top edge and two lines of text on it.
    const QPainterPath clip = roundedRect({6.5, 1.5, 7, 3.5}, 1.2);
    QPainterPath lines = polyline({{7.5, 10}, {12.5, 10}});
    lines.addPath(polyline({{7.5, 13.5}, {11, 13.5}}));
    return stacked(roundedRect({3.5, 3, 13, 15.5}, 2.2), clip, width).united(clip).united(stroked(lines, width));
}

QPainterPath trash(qreal width)
{
    // Detail inside the can would fill in at 13 px; lid, handle and can only.
    QPainterPath lines = polyline({{3, 5.5}, {17, 5.5}});
    lines.addPath(polyline({{7.5, 5.5}, {7.5, 2.5}, {12.5, 2.5}, {12.5, 5.5}}));
    lines.addPath(polyline({{4.8, 5.5}, {5.8, 17.5}, {14.2, 17.5}, {15.2, 5.5}}));
    return stroked(lines, width);
}

QPainterPath circleLeftHalfFilled(qreal width)
{
    const QRectF circle(2, 2, 16, 16);
    QPainterPath ring;
    ring.addEllipse(circle);
    QPainterPath half;
    half.moveTo(circle.center());
    half.arcTo(circle, 90, 180);
    half.closeSubpath();
    return stroked(ring, width).united(half);
}

QPainterPath handTap(qreal width)
{
    // The outline of a hand pointing up, with a ripple over the fingertip.
    QPainterPath hand;
    hand.moveTo(7.5, 12.5);
    hand.lineTo(7.5, 7.5);
    hand.arcTo(QRectF(7.5, 6, 3, 3), 180, -180);
    hand.lineTo(10.5, 10.5);
    hand.cubicTo(13, 10.2, 16, 10.6, 16, 13);
    hand.lineTo(16, 14.5);
    hand.cubicTo(16, 17, 14, 18.5, 12, 18.5);
    hand.lineTo(10.8, 18.5);
    hand.cubicTo(9.3, 18.5, 8.2, 17.8, 7.4, 16.6);
    hand.lineTo(5, 13);
    hand.cubicTo(4.5, 12.1, 5.4, 11.2, 6.3, 11.7);
    hand.lineTo(7.5, 12.5);
    const QRectF rippleCircle(4.5, 3, 9, 9);
    QPainterPath ripple;
    ripple.arcMoveTo(rippleCircle, 150);
    ripple.arcTo(rippleCircle, 150, -120);
    return stroked(hand, width).united(stroked(ripple, width));
}

QPainterPath pencil(qreal width)
{
    QPainterPath lines = polyline({{4, 16}, {5, 12}, {13.5, 3.5}, {16.5, 6.5}, {8, 15}, {4, 16}});
    lines.addPath(polyline({{11.5, 5.5}, {14.5, 8.5}}));
    return stroked(lines, width);
}

// Building a glyph takes path unions and subtractions; the panel draws few glyphs at
// few line widths, so each is built once.
const QPainterPath &cachedPath(Glyph glyph, qreal lineWidth)
{
    static QHash<std::pair<int, qreal>, QPainterPath> cache;
    constexpr qsizetype maximumEntries = 64;
    const std::pair key{int(glyph), lineWidth};
    if (const auto found = cache.constFind(key); found != cache.constEnd())
        return *found;
    if (cache.size() >= maximumEntries)
        cache.clear();
    return *cache.insert(key, path(glyph, lineWidth));
}

} // namespace

QPainterPath path(Glyph glyph, qreal lineWidth)
{
    switch (glyph) {
    case Glyph::Plus:
        return plus(lineWidth);
    case Glyph::Minus:
        return minus(lineWidth);
    case Glyph::XMark:
        return xMark(lineWidth);
    case Glyph::ChevronDown:
        return chevronDown(lineWidth);
    case Glyph::Checkmark:
        return checkmark(lineWidth);
    case Glyph::DocOnDoc:
        return docOnDoc(lineWidth);
    case Glyph::DocOnClipboard:
        return docOnClipboard(lineWidth);
    case Glyph::Trash:
        return trash(lineWidth);
    case Glyph::CircleLeftHalfFilled:
        return circleLeftHalfFilled(lineWidth);
    case Glyph::HandTap:
        return handTap(lineWidth);
    case Glyph::Pencil:
        return pencil(lineWidth);
    }
    Q_UNREACHABLE();
    return {};
}

void paint(QPainter &painter, Glyph glyph, const QRectF &rect, const QColor &color, qreal lineWidth)
{
    const qreal side = qMin(rect.width(), rect.height());
    if (side <= 0)
        return;
    const qreal scale = side / gridSize;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.translate(rect.center().x() - side / 2, rect.center().y() - side / 2);
    painter.scale(scale, scale);
    painter.drawPath(cachedPath(glyph, lineWidth / scale));
    painter.restore();
}

} // namespace Glyphs
