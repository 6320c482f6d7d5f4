#pragma once

#include <QWidget>

// The panel's 1-pixel white rim, drawn over everything and transparent to the mouse.
// Its mask is the rim's band, so that Qt repaints it only when a change reaches the edge.
class PanelBorder : public QWidget
{
    Q_OBJECT

public:
    explicit PanelBorder(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
};
