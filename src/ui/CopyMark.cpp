#include "ui/CopyMark.h"

#include "ui/Glyphs.h"
#include "ui/Palette.h"

#include <QPainter>

CopyMark::CopyMark(std::function<void()> frame)
{
    m_scale.setDuration(220);
    m_scale.setEasingCurve(QEasingCurve::OutBack);
    QObject::connect(&m_scale, &QVariantAnimation::valueChanged, std::move(frame));
}

bool CopyMark::setCopied(bool copied, bool animate)
{
    if (copied == m_copied)
        return false;
    m_copied = copied;
    m_scale.stop();
    if (animate) {
        m_scale.setStartValue(copied ? 1.0 : 1.1);
        m_scale.setEndValue(copied ? 1.1 : 1.0);
        m_scale.start();
    }
    return true;
}

void CopyMark::paint(QPainter &painter, const QRectF &rect, bool dark, bool reduceMotion) const
{
    const QColor accent = Palette::accentColor(dark);
    const qreal scale = m_scale.state() == QAbstractAnimation::Running ? m_scale.currentValue().toReal()
                        : (m_copied && !reduceMotion)                  ? 1.1
                                                                       : 1.0;
    painter.save();
    painter.translate(rect.center());
    painter.scale(scale, scale);
    painter.translate(-rect.center());
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_copied ? Palette::faded(accent, 0.12f) : Palette::faded(Palette::primary(dark), 0.045f));
    painter.drawEllipse(rect);
    QRectF glyphRect(0, 0, 10, 10);
    glyphRect.moveCenter(rect.center());
    Glyphs::paint(painter, m_copied ? Glyph::Checkmark : Glyph::DocOnDoc, glyphRect,
                  m_copied ? accent : Palette::secondary(dark), 1.6);
    painter.restore();
}
