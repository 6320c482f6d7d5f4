#pragma once

#include "ui/CodeImages.h"

#include <QVariantAnimation>

#include <functional>

// A row's code line: the code, or its dots while hidden, drawn from images made once per
// code. A new code rolls in from below while the old one rolls up and fades.
class RollingCode
{
public:
    // `frame` repaints the code line for each step of a roll.
    explicit RollingCode(std::function<void()> frame);

    // The code text: the code, or the placeholder.
    const QString &text() const { return m_text; }
    // False when the text was already that. The placeholder is never rolled away.
    bool setText(const QString &text, bool roll);
    // Another account's line: the placeholder, without a roll.
    void reset();
    // The line changed its size: its images are drawn again.
    void resized() { m_images = {}; }
    void paint(QPainter &painter, const QRectF &line, const QColor &color, qreal ratio, bool masked, bool steam);

private:
    void paintText(QPainter &painter, const QString &shown, const QRectF &line, qreal offset, qreal opacity,
                   const QColor &color, qreal ratio);

    QString m_text;
    QString m_previous;
    // The current and the previous code as drawn.
    CodeImages m_images;
    QVariantAnimation m_roll;
};
