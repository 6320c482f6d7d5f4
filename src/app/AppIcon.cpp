#include "app/AppIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// The mark on a 20-unit grid with y growing upwards, as drawn for the menu bar.
QPainterPath buildMarkPath()
{
    const auto p = [](qreal x, qreal y) { return QPointF(x, 20 - y); };
    QPainterPath a;
    a.moveTo(p(4.2, 7.2));
    a.cubicTo(p(4.2, 6.5), p(4.6, 6.0), p(5.3, 5.8));
    a.lineTo(p(14.3, 2.3));
    a.cubicTo(p(15.1, 2.0), p(15.8, 2.6), p(15.8, 3.5));
    a.lineTo(p(15.8, 8.0));
    a.cubicTo(p(15.8, 8.7), p(15.4, 9.2), p(14.8, 9.4));
    a.lineTo(p(4.2, 13.6));
    a.closeSubpath();
    QPainterPath b;
    b.moveTo(p(4.2, 13.6));
    b.cubicTo(p(4.2, 14.3), p(4.6, 14.8), p(5.2, 15.0));
    b.lineTo(p(9.4, 16.8));
    b.lineTo(p(8.0, 17.4));
    b.cubicTo(p(7.4, 17.7), p(7.1, 18.1), p(7.1, 18.7));
    b.lineTo(p(7.1, 19.2));
    b.lineTo(p(14.8, 16.1));
    b.cubicTo(p(15.4, 15.9), p(15.8, 15.4), p(15.8, 14.7));
    b.lineTo(p(15.8, 12.2));
    b.cubicTo(p(15.8, 11.5), p(15.4, 11.0), p(14.8, 10.8));
    b.lineTo(p(12.0, 9.6));
    b.closeSubpath();
    // Filled one after the other, so their overlap stays filled.
    return a.united(b);
}

// Built once: the tray draws it at eight sizes.
const QPainterPath &markPath()
{
    static const QPainterPath path = buildMarkPath();
    return path;
}

} // namespace

QImage AppIcon::image(int size, const QColor &color)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 20.0, size / 20.0);
    painter.fillPath(markPath(), color);
    return image;
}

QIcon AppIcon::trayIcon(bool dark)
{
    QIcon icon;
    const QColor color = dark ? QColor(0xee, 0xee, 0xec) : QColor(0x2e, 0x34, 0x36);
    for (int size : {16, 20, 22, 24, 32, 40, 48, 64})
        icon.addPixmap(QPixmap::fromImage(image(size, color)));
    icon.setIsMask(true);
    return icon;
}
