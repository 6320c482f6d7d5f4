#pragma once

#include "ui/OpacityPopover.h"

#include <QPointer>
#include <QWidget>

class CircleButton;
class QLabel;
class QMenu;
class TokenStore;

// The panel's top strip: the title and its menu, paste-and-add, add, opacity,
// collapse and quit. It stays visible while the panel is collapsed. The opacity chosen in
// its popover is the store's, and is stored at once.
class PanelHeader : public QWidget
{
    Q_OBJECT

public:
    explicit PanelHeader(TokenStore &store, QWidget *parent = nullptr);

    void setCollapsed(bool collapsed);
    // Shows the text the rows are filtered by beside the title; empty hides it.
    void setFilter(const QString &filter);
    QLabel *filterLabel() const { return m_filter; }

    CircleButton *pasteButton() const { return m_paste; }
    CircleButton *addButton() const { return m_add; }
    CircleButton *opacityButton() const { return m_opacity; }
    CircleButton *collapseButton() const { return m_collapse; }
    CircleButton *quitButton() const { return m_quit; }
    OpacityPopover *opacityPopover() const { return m_popover; }
    // The title's menu, shown without blocking; it deletes itself when closed.
    QMenu *showTitleMenu(const QPoint &globalPos);

Q_SIGNALS:
    void pasteRequested();
    void addRequested();
    void collapseToggled();
    void quitRequested();
    void exportRequested();
    void importRequested();
    // The title menu has its own items and may take more before it opens: commands on the
    // accounts go before `about` (the separator above the About items), others at the end.
    void titleMenuAboutToShow(QMenu *menu, QAction *about);

private:
    CircleButton *addButton(CircleButton *button, const QString &help, const QString &accessibleName);
    void toggleOpacityPopover();

    QLabel *m_title;
    QLabel *m_filter;
    CircleButton *m_paste;
    CircleButton *m_add;
    CircleButton *m_opacity;
    CircleButton *m_collapse;
    CircleButton *m_quit;
    QPointer<OpacityPopover> m_popover;
    TokenStore &m_store;
};
