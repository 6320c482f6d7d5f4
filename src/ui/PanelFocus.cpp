#include "ui/PanelFocus.h"

#include "ui/AddFlows.h"
#include "ui/CircleButton.h"
#include "ui/PanelHeader.h"
#include "ui/QuickEntryView.h"
#include "ui/TokenListView.h"

#include <QKeyEvent>
#include <QLineEdit>

PanelFocus::PanelFocus(QWidget &panel, PanelHeader &header, TokenListView &list, AddFlows &addFlows)
    : m_panel(panel),
      m_header(header),
      m_list(list),
      m_addFlows(addFlows)
{}

QWidget *PanelFocus::target() const
{
    if (m_list.isVisibleTo(&m_panel))
        return &m_list;
    if (QuickEntryView *entry = m_addFlows.builtQuickEntry(); entry && entry->isVisibleTo(&m_panel))
        return entry->field();
    return m_header.addButton();
}

void PanelFocus::follow(QWidget *focusedBefore) const
{
    if (focusedBefore && !focusedBefore->isVisibleTo(&m_panel))
        target()->setFocus(Qt::OtherFocusReason);
}

bool PanelFocus::route(QKeyEvent &event) const
{
    if (!m_list.isVisible())
        return false;
    const bool arrow = (event.key() == Qt::Key_Down || event.key() == Qt::Key_Up) && !event.modifiers();
    if (!arrow && !m_list.typeToFilter(event))
        return false;
    m_list.setFocus(Qt::ShortcutFocusReason);
    return true;
}

bool PanelFocus::clearFilter() const
{
    if (m_list.filter().term().isEmpty())
        return false;
    m_list.setFilter(QString());
    return true;
}
