#pragma once

#include <QVariantAnimation>

#include <functional>

class QPainter;

// The mark at the end of a row's code: a document on a faint disc, and for a moment after
// a copy a check on an accent disc, grown by a tenth.
class CopyMark
{
public:
    // `frame` repaints the mark for each step of its growing or shrinking.
    explicit CopyMark(std::function<void()> frame);

    bool isCopied() const { return m_copied; }
    // False when it was already so.
    bool setCopied(bool copied, bool animate);
    // With reduced motion the check does not grow.
    void paint(QPainter &painter, const QRectF &rect, bool dark, bool reduceMotion) const;

private:
    bool m_copied = false;
    QVariantAnimation m_scale;
};
