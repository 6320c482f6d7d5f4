#include "ui/OverlayScrollBar.h"

#include <QAbstractScrollArea>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int barWidth = 6;

} // namespace

OverlayScrollBar::OverlayScrollBar(QAbstractScrollArea &area, int step) : QScrollBar(Qt::Vertical, &area), m_area(area)
{
    area.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QScrollBar *own = area.verticalScrollBar();
    own->setSingleStep(step);
    setSingleStep(step);
    setFocusPolicy(Qt::NoFocus);
    setStyleSheet(
        u"QScrollBar:vertical { width: 6px; background: transparent; margin: 2px 1px; }"
        "QScrollBar::handle:vertical { background: rgba(128,128,128,0.45); border-radius: 2px; min-height: 24px; }"
        "QScrollBar::add-line, QScrollBar::sub-line, QScrollBar::add-page, QScrollBar::sub-page { height: 0; background: none; }"_s);
    connect(own, &QScrollBar::rangeChanged, this, &QScrollBar::setRange);
    connect(own, &QScrollBar::valueChanged, this, &QScrollBar::setValue);
    connect(this, &QScrollBar::valueChanged, own, &QScrollBar::setValue);
}

void OverlayScrollBar::place(bool needed)
{
    setGeometry(m_area.width() - barWidth, 0, barWidth, m_area.height());
    setPageStep(m_area.viewport()->height());
    setVisible(needed);
    raise();
}
