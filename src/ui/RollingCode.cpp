#include "ui/RollingCode.h"

#include "ui/CodeText.h"

#include <QPainter>

namespace {

constexpr qreal rollDistance = 10;

} // namespace

RollingCode::RollingCode(std::function<void()> frame) : m_text(CodeText::placeholder)
{
    m_roll.setDuration(260);
    m_roll.setEasingCurve(QEasingCurve::OutCubic);
    QObject::connect(&m_roll, &QVariantAnimation::valueChanged, std::move(frame));
}

bool RollingCode::setText(const QString &text, bool roll)
{
    if (text == m_text)
        return false;
    m_previous = std::exchange(m_text, text);
    m_roll.stop();
    if (roll && m_previous != CodeText::placeholder) {
        m_roll.setStartValue(0.0);
        m_roll.setEndValue(1.0);
        m_roll.start();
    }
    return true;
}

void RollingCode::reset()
{
    m_roll.stop();
    m_text = CodeText::placeholder;
}

void RollingCode::paint(QPainter &painter, const QRectF &line, const QColor &color, qreal ratio, bool masked,
                        bool steam)
{
    painter.setClipRect(line);
    if (masked && m_text != CodeText::placeholder) {
        paintText(painter, CodeText::masked(CodeText::shown(m_text, steam)), line, 0, 1, color, ratio);
    } else if (m_roll.state() == QAbstractAnimation::Running) {
        const qreal progress = m_roll.currentValue().toReal();
        paintText(painter, CodeText::shown(m_previous, steam), line, -progress * rollDistance, 1 - progress, color,
                  ratio);
        paintText(painter, CodeText::shown(m_text, steam), line, (1 - progress) * rollDistance, progress, color, ratio);
    } else {
        paintText(painter, CodeText::shown(m_text, steam), line, 0, 1, color, ratio);
    }
    painter.setClipping(false);
}

void RollingCode::paintText(QPainter &painter, const QString &shown, const QRectF &line, qreal offset, qreal opacity,
                            const QColor &color, qreal ratio)
{
    painter.setOpacity(opacity);
    painter.drawImage(QPointF(line.left(), line.top() + offset), m_images.image(shown, color, ratio, line.size()));
    painter.setOpacity(1);
}
