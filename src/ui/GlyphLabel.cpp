#include "ui/GlyphLabel.h"

#include <QPainter>

GlyphLabel::GlyphLabel(Glyph glyph, qreal glyphSize, qreal lineWidth, int frameSize, QWidget *parent)
    : QWidget(parent),
      m_glyph(glyph),
      m_glyphSize(glyphSize),
      m_lineWidth(lineWidth),
      m_frameSize(frameSize)
{
    setFixedSize(frameSize, frameSize);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void GlyphLabel::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void GlyphLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF glyphRect(0, 0, m_glyphSize, m_glyphSize);
    glyphRect.moveCenter(QRectF(rect()).center());
    Glyphs::paint(painter, m_glyph, glyphRect, m_color, m_lineWidth);
}
