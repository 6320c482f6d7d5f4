#include "ui/CodeImages.h"

#include "ui/PanelFonts.h"

#include <QPainter>

namespace {

constexpr qreal codeLetterSpacing = 1.4;

} // namespace

const QImage &CodeImages::image(const QString &code, const QColor &color, qreal ratio, const QSizeF &size)
{
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const Entry &cached = m_entries[i];
        if (cached.text == code && cached.color == color && cached.image.devicePixelRatio() == ratio) {
            m_replaced = 1 - i;
            return cached.image;
        }
    }
    Entry &slot = m_entries[m_replaced];
    m_replaced = 1 - m_replaced;
    slot = {code, color, QImage((size * ratio).toSize(), QImage::Format_ARGB32_Premultiplied)};
    slot.image.setDevicePixelRatio(ratio);
    slot.image.fill(Qt::transparent);
    QPainter painter(&slot.image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(color);
    draw(painter, code);
    return slot.image;
}

// Digits and dots stand in cells of equal width, so a changing or hidden code never shifts
// sideways.
void CodeImages::draw(QPainter &painter, const QString &code)
{
    const QFont font = panelFont(29, QFont::Medium);
    const QFontMetricsF metrics(font);
    qreal digitWidth = 0;
    for (char16_t digit = u'0'; digit <= u'9'; ++digit)
        digitWidth = std::max(digitWidth, metrics.horizontalAdvance(QChar(digit)));
    painter.setFont(font);
    qreal x = 0;
    for (QChar c : code) {
        const qreal advance = c.isDigit() || c == dot ? digitWidth : metrics.horizontalAdvance(c);
        painter.drawText(QRectF(x, 0, advance, metrics.height()), Qt::AlignCenter, QString(c));
        x += advance + codeLetterSpacing;
    }
}
