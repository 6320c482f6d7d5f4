#pragma once

class AddFlows;
class PanelHeader;
class QKeyEvent;
class QWidget;
class TokenListView;

// Where the panel's keys go: to the rows when they show, else to the quick entry's field,
// else to the header's add button. Typing that no control took filters the rows, and Down
// and Up move to them.
class PanelFocus
{
public:
    PanelFocus(QWidget &panel, PanelHeader &header, TokenListView &list, AddFlows &addFlows);

    QWidget *target() const;
    // After the sections moved: a focused section that went away hands the keys on, rather
    // than to whichever button comes next.
    void follow(QWidget *focusedBefore) const;
    // True when the rows took the key.
    bool route(QKeyEvent &event) const;
    // Empties the rows' filter; false when there was none.
    bool clearFilter() const;

private:
    QWidget &m_panel;
    PanelHeader &m_header;
    TokenListView &m_list;
    AddFlows &m_addFlows;
};
