#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

#include <optional>

// Where everything of an account's row goes, from the row's width: the one place a row is
// laid out. The main line holds the title and code lines, the copy mark and the delete
// button; the countdown bar (or, for a counter-based account, the next-code button on the
// code line) sits under it.
struct RowGeometry
{
    // `nextCode` is the size of the next-code button, when the row shows one.
    static RowGeometry of(int width, const std::optional<QSize> &nextCode);

    QFont titleFont;
    QFont codeFont;
    QRectF title;
    QRectF code;
    // Where a click copies: the main line left of the delete button.
    QRect copyArea;
    QRectF copyMark;
    // What the copy mark covers at any scale.
    QRect copyMarkArea;
    QPoint deleteButton;
    QRect progress;
    QRect nextCode;
    // The line on the top edge of rows below the first.
    QRectF separator;
    QRectF focusRing;
};
