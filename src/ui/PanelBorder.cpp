#include "ui/PanelBorder.h"

#include "ui/PanelMetrics.h"

#include <QPainter>

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
