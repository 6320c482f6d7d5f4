#include "ui/PanelBorder.h"

#include "ui/PanelMetrics.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

// Wide enough for the antialiased 1-pixel line.
constexpr int bandWidth = 3;
// The corners are covered in steps of this many rows: a region of few rectangles is
// cheap for Qt to intersect on every repaint.
constexpr int stepRows = 4;

// The band along the edges and around the rounded corners of a `size` rectangle.
QRegion rimBand(const QSize &size)
{
    const int w = size.width(), h = size.height();
    QRegion band = QRegion(0, 0, w, bandWidth) + QRegion(0, h - bandWidth, w, bandWidth) + QRegion(0, 0, bandWidth, h)
                   + QRegion(w - bandWidth, 0, bandWidth, h);
    const qreal radius = PanelMetrics::cornerRadius;
    for (int row = 0; row < radius; row += stepRows) {
        // The rim is farthest from the side edge at the step's row nearest the corner.
        const qreal rise = radius - row;
        const int reach = int(std::ceil(radius - std::sqrt(radius * radius - rise * rise))) + bandWidth;
        for (const QRect &step :
             {QRect(0, row, reach, stepRows), QRect(w - reach, row, reach, stepRows),
              QRect(0, h - row - stepRows, reach, stepRows), QRect(w - reach, h - row - stepRows, reach, stepRows)})
            band += step;
    }
    return band;
}

} // namespace

PanelBorder::PanelBorder(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PanelBorder::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor rim(Qt::white);
    rim.setAlphaF(0.14f);
    painter.setPen(QPen(rim, 1));
    painter.setBrush(Qt::NoBrush);
    const qreal radius = PanelMetrics::cornerRadius - 0.5;
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

void PanelBorder::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    setMask(rimBand(size()));
    QPainterPath interior;
    interior.addRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), PanelMetrics::cornerRadius - 1,
                            PanelMetrics::cornerRadius - 1);
    m_interior = QRegion(interior.toFillPolygon().toPolygon());
}

// Away from the rounded corners a rectangle fill does: a rolling code repaints its strip
// without drawing the whole outline.
void PanelBorder::fillBody(QPainter &painter, const QRegion &region, const QColor &color) const
{
    if (region.subtracted(m_interior).isEmpty()) {
        painter.fillRect(region.boundingRect(), color);
        return;
    }
    QPainterPath shape;
    shape.addRoundedRect(QRectF(geometry()), PanelMetrics::cornerRadius, PanelMetrics::cornerRadius);
    painter.fillPath(shape, color);
}
