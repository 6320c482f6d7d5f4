#pragma once

#include <QWidget>

// The panel's 1-pixel white rim, drawn over everything and transparent to the mouse, and
// the rounded body it bounds, which the panel paints beneath its sections. Its mask is the
// rim's band, so that Qt repaints it only when a change reaches the edge.
class PanelBorder : public QWidget
{
    Q_OBJECT

public:
    explicit PanelBorder(QWidget *parent);

    // Fills the body within the rim where `region` needs it, for a painter on the panel.
    void fillBody(QPainter &painter, const QRegion &region, const QColor &color) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Where the body is a plain rectangle fill, inside its rounded outline.
    QRegion m_interior;
};
