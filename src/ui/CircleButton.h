#pragma once

#include "ui/Glyphs.h"

#include <QAbstractButton>
#include <QColor>

// A 26-pixel round button showing one glyph. Only the disc takes clicks.
//  - HeaderIcon: a secondary-coloured glyph; a 10 % primary-coloured disc while pressed.
//  - PrimaryHeader: a tint-coloured glyph on an 11 % tint disc, 20 % while pressed.
class CircleButton : public QAbstractButton
{
    Q_OBJECT

public:
    enum class Style { HeaderIcon, PrimaryHeader };

    static constexpr int diameter = 26;
    // The symbol font's 11-point glyphs fill about this square.
    static constexpr qreal glyphSize = 13;

    CircleButton(Glyph glyph, Style style, QWidget *parent = nullptr);

    Glyph glyph() const { return m_glyph; }
    Style style() const { return m_style; }
    // The PrimaryHeader tint; without one the palette's accent colour.
    QColor tint() const;

    QSize sizeHint() const override;

public Q_SLOTS:
    void setGlyph(Glyph glyph);
    void setTint(const QColor &tint);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;

private:
    bool isDark() const;
    // The disc's colour and opacity at rest and while pressed.
    QColor discColor(bool pressed) const;
    QColor glyphColor() const;

    Glyph m_glyph;
    Style m_style;
    QColor m_tint;
};
