#pragma once

#include <QScrollBar>

class QAbstractScrollArea;

// A thin scroll bar drawn over the right edge of a scroll area, so that a long list does not
// narrow its rows. The area's own bar keeps scrolling (wheel, ensureVisible) but takes no
// room; this one mirrors it both ways.
class OverlayScrollBar : public QScrollBar
{
    Q_OBJECT

public:
    // Both bars scroll `step` pixels a line.
    OverlayScrollBar(QAbstractScrollArea &area, int step);

    // Along the area's right edge, shown only when `needed`.
    void place(bool needed);

private:
    QAbstractScrollArea &m_area;
};
