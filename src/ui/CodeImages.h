#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include <array>

class QPainter;

// The images of the last two codes a row drew. A code is laid out and drawn once: a roll
// then only moves and fades two images.
class CodeImages
{
public:
    // What a hidden code shows for each of its characters, in a digit's cell.
    static constexpr QChar dot = u'\u2022';

    // The code in `color`, `size` large at `ratio` device pixels per pixel.
    const QImage &image(const QString &code, const QColor &color, qreal ratio, const QSizeF &size);

private:
    static void draw(QPainter &painter, const QString &code);

    struct Entry
    {
        QString text;
        QColor color;
        QImage image;
    };
    std::array<Entry, 2> m_entries;
    size_t m_replaced = 0;
};
