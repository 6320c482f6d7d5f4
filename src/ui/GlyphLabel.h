#pragma once

#include "ui/Glyphs.h"

#include <QColor>
#include <QWidget>

// One glyph centred in a fixed square, for icons that are not buttons.
class GlyphLabel : public QWidget
{
    Q_OBJECT

public:
    GlyphLabel(Glyph glyph, qreal glyphSize, qreal lineWidth, int frameSize, QWidget *parent = nullptr);

    QSize sizeHint() const override { return {m_frameSize, m_frameSize}; }

public Q_SLOTS:
    void setColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Glyph m_glyph;
    qreal m_glyphSize;
    qreal m_lineWidth;
    int m_frameSize;
    QColor m_color;
};
