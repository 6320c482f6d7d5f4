#include "ui/RowGeometry.h"

#include "ui/DeleteButton.h"
#include "ui/PanelFonts.h"
#include "ui/PanelMetrics.h"

#include <QFontMetricsF>

namespace {

constexpr int leftPadding = 13;
constexpr int rightPadding = 10;
constexpr int spacing = 7;
constexpr int mainLineHeight = PanelMetrics::tokenRowHeight - 10;
constexpr int markSize = 26;
constexpr int barHeight = 4;

} // namespace

RowGeometry RowGeometry::of(int width, const std::optional<QSize> &nextCode)
{
    RowGeometry row;
    row.titleFont = panelFont(11, QFont::Medium);
    row.codeFont = panelFont(29, QFont::Medium);
    row.deleteButton = {width - rightPadding - DeleteButton::size, (mainLineHeight - DeleteButton::size) / 2};
    row.progress = {leftPadding, mainLineHeight, width - 2 * leftPadding, barHeight};
    row.copyArea = {leftPadding, 0, row.deleteButton.x() - spacing - leftPadding, mainLineHeight};
    row.copyMark = {qreal(row.copyArea.right() + 1 - markSize), (mainLineHeight - markSize) / 2.0, markSize, markSize};
    // The mark grows by a tenth while it shows the check.
    row.copyMarkArea = row.copyMark.toAlignedRect().adjusted(-3, -3, 3, 3);

    const qreal titleHeight = QFontMetricsF(row.titleFont).height();
    const qreal codeHeight = QFontMetricsF(row.codeFont).height();
    const qreal top = (mainLineHeight - titleHeight - 2 - codeHeight) / 2;
    const qreal codeTop = top + titleHeight + 2;
    qreal textRight = row.copyMark.left() - 8;
    if (nextCode) {
        // On the code line, just before the copy mark.
        const qreal codeMiddle = codeTop + codeHeight / 2;
        row.nextCode = {int(row.copyMark.left()) - 6 - nextCode->width(), int(codeMiddle - nextCode->height() / 2.0),
                        nextCode->width(), nextCode->height()};
        textRight = row.nextCode.x() - 4;
    }
    row.title = {qreal(leftPadding), top, textRight - leftPadding, titleHeight};
    row.code = {qreal(leftPadding), codeTop, textRight - leftPadding, codeHeight};
    row.separator = {qreal(leftPadding), 0, qreal(width - 2 * leftPadding), 1};
    row.focusRing = QRectF(0, 0, width, PanelMetrics::tokenRowHeight).adjusted(4, 3, -4, -3);
    return row;
}
