#include "ui/CircleButton.h"

#include "ui/Palette.h"

#include <QKeyEvent>
#include <QPainter>

namespace {

// A 5-point bold symbol beside an 11-point one, 2 points apart.
constexpr qreal trailingSize = 5.5;
constexpr qreal trailingGap = 2;

} // namespace

CircleButton::CircleButton(Glyph glyph, Style style, QWidget *parent)
    : QAbstractButton(parent),
      m_glyph(glyph),
      m_style(style)
{
    setFixedSize(diameter, diameter);
    // A click must not take the focus from the panel's text field.
    setFocusPolicy(Qt::TabFocus);
}

QColor CircleButton::tint() const
{
    return m_tint.isValid() ? m_tint : Palette::accentColor(isDark());
}

QSize CircleButton::sizeHint() const
{
    return {diameter, diameter};
}

QColor CircleButton::discColor(bool pressed) const
{
    const bool header = m_style == Style::HeaderIcon;
    QColor color = header ? Palette::primary(isDark()) : tint();
    color.setAlphaF(header ? (pressed ? 0.1f : 0.0f) : (pressed ? 0.2f : 0.11f));
    return color;
}

QColor CircleButton::glyphColor() const
{
    return m_style == Style::HeaderIcon ? Palette::secondary(isDark()) : tint();
}

void CircleButton::setGlyph(Glyph glyph)
{
    m_glyph = glyph;
    update();
}

void CircleButton::setTrailingGlyph(Glyph glyph)
{
    m_trailing = glyph;
    update();
}

void CircleButton::setTint(const QColor &tint)
{
    m_tint = tint;
    update();
}

void CircleButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(discColor(isDown()));
    painter.drawEllipse(QRectF(rect()));

    // Medium and semibold weights of the symbol font, as line widths.
    const qreal lineWidth = m_style == Style::HeaderIcon ? 1.5 : 1.75;
    const QPointF center = QRectF(rect()).center();
    const qreal pairWidth = m_trailing ? glyphSize + trailingGap + trailingSize : glyphSize;
    QRectF glyphRect(0, 0, glyphSize, glyphSize);
    glyphRect.moveCenter({center.x() - pairWidth / 2 + glyphSize / 2, center.y()});
    Glyphs::paint(painter, m_glyph, glyphRect, glyphColor(), lineWidth);
    if (m_trailing) {
        QRectF trailingRect(0, 0, trailingSize, trailingSize);
        trailingRect.moveCenter({glyphRect.right() + trailingGap + trailingSize / 2, center.y()});
        Glyphs::paint(painter, *m_trailing, trailingRect, glyphColor(), 1.3);
    }
    if (m_focusVisible && hasFocus()) {
        painter.setPen(Palette::focusRingPen(isDark()));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

bool CircleButton::hitButton(const QPoint &pos) const
{
    const QPointF offset = QPointF(pos) + QPointF(0.5, 0.5) - QRectF(rect()).center();
    return QPointF::dotProduct(offset, offset) <= diameter * diameter / 4.0;
}

// Up and Down belong to the panel's rows; Left and Right still walk the buttons.
void CircleButton::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
        event->ignore();
    else
        QAbstractButton::keyPressEvent(event);
}

void CircleButton::focusInEvent(QFocusEvent *event)
{
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
        m_focusVisible = true;
    QAbstractButton::focusInEvent(event);
}

// Another window taking the focus for a while (a sheet, a menu) keeps the ring for when the
// focus comes back.
void CircleButton::focusOutEvent(QFocusEvent *event)
{
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        m_focusVisible = false;
    QAbstractButton::focusOutEvent(event);
}

bool CircleButton::isDark() const
{
    return Palette::isDark(palette());
}
