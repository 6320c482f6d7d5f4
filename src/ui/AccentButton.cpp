#include "ui/AccentButton.h"

#include "ui/Palette.h"
#include "ui/PanelFonts.h"

#include <QPainter>

namespace {

constexpr int glyphSize = 11;
constexpr int gap = 4;
constexpr int horizontalPadding = 9;

} // namespace

AccentButton::AccentButton(const QString &text, std::optional<Glyph> glyph, QWidget *parent)
    : QPushButton(text, parent),
      m_glyph(glyph)
{
    setFont(panelFont(12, QFont::DemiBold));
    setCursor(Qt::PointingHandCursor);
}

QSize AccentButton::sizeHint() const
{
    const int textWidth = fontMetrics().horizontalAdvance(text());
    const int glyphWidth = m_glyph ? glyphSize + gap : 0;
    return {textWidth + glyphWidth + 2 * horizontalPadding, 24};
}

void AccentButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = Palette::accentColor(Palette::isDark(palette()));
    if (isDown())
        fill = fill.darker(115);
    painter.setOpacity(isEnabled() ? 1.0 : 0.4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()), 6, 6);

    const int textWidth = fontMetrics().horizontalAdvance(text());
    const int contentWidth = textWidth + (m_glyph ? glyphSize + gap : 0);
    qreal x = (width() - contentWidth) / 2.0;
    if (m_glyph) {
        Glyphs::paint(painter, *m_glyph, QRectF(x, (height() - glyphSize) / 2.0, glyphSize, glyphSize), Qt::white, 1.5);
        x += glyphSize + gap;
    }
    painter.setPen(Qt::white);
    painter.drawText(QRectF(x, 0, textWidth + 1, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
    if (hasFocus()) { // an accent ring would vanish on the accent fill: a white one inside it
        painter.setPen(QPen(Palette::faded(Qt::white, 0.9f), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(2, 2, -2, -2), 4, 4);
    }
}
