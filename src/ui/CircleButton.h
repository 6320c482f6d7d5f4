#pragma once

#include "ui/Glyphs.h"

#include <QAbstractButton>
#include <QColor>

#include <optional>

// A 26-pixel round button showing one glyph, optionally followed by a small second one.
// Only the disc takes clicks; a ring shows while it has the keyboard focus that the keys
// gave it (Tab, a shortcut), not the focus a window hands back after a click elsewhere.
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
    // A glyph drawn small after the main one (a menu's chevron).
    void setTrailingGlyph(Glyph glyph);
    std::optional<Glyph> trailingGlyph() const { return m_trailing; }
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
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool isDark() const;
    // The disc's colour and opacity at rest and while pressed.
    QColor discColor(bool pressed) const;
    QColor glyphColor() const;

    Glyph m_glyph;
    std::optional<Glyph> m_trailing;
    Style m_style;
    QColor m_tint;
    bool m_focusVisible = false;
};
