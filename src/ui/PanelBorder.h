#pragma once

#include <QWidget>

// The panel's 1-pixel white rim, drawn over everything and transparent to the mouse.
class PanelBorder : public QWidget
{
    Q_OBJECT

public:
    explicit PanelBorder(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};
