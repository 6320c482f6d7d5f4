#include "app/InteractiveFloatingPanel.h"

#include "app/X11Window.h"
#include "ui/PanelMetrics.h"

#include <QMouseEvent>
#include <QPainterPath>
#include <QVBoxLayout>
#include <QWindow>

using namespace Qt::Literals::StringLiterals;

InteractiveFloatingPanel::InteractiveFloatingPanel(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(tr("岚签"));
    // Decided before the native window exists: it picks an ARGB visual.
    setAttribute(Qt::WA_TranslucentBackground, X11Window::compositorRunning());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

void InteractiveFloatingPanel::setContent(QWidget *content)
{
    delete m_content;
    m_content = content;
    layout()->addWidget(content);
}

// Asked again on every show, also of a panel already shown: some window managers (GNOME's)
// forget it along the way.
void InteractiveFloatingPanel::setVisible(bool visible)
{
    if (visible && !isVisible())
        X11Window::setOnAllDesktops(winId());
    QWidget::setVisible(visible);
    if (visible)
        X11Window::requestOnAllDesktops(winId());
}

// GNOME takes the panel off the other desktops while a dialog sits over it.
bool InteractiveFloatingPanel::event(QEvent *event)
{
    if (event->type() == QEvent::WindowUnblocked && isVisible())
        X11Window::requestOnAllDesktops(winId());
    return QWidget::event(event);
}

// Presses reach the panel from the children that do not take them, so a drag
// anywhere but on a control moves the panel. The move starts at the first motion, not at
// the press: a click handed to the window manager can leave it moving the panel after the
// button is already up.
void InteractiveFloatingPanel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_press = Press{event->globalPosition().toPoint() - pos(), false};
}

void InteractiveFloatingPanel::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_press) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    // Without a window manager that moves windows, follow the pointer ourselves.
    if (!m_press->following && windowHandle()->startSystemMove()) {
        m_press.reset();
        return;
    }
    m_press->following = true;
    move(event->globalPosition().toPoint() - m_press->offset);
}

void InteractiveFloatingPanel::mouseReleaseEvent(QMouseEvent *event)
{
    m_press.reset();
    QWidget::mouseReleaseEvent(event);
}

void InteractiveFloatingPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateMask();
}

void InteractiveFloatingPanel::updateMask()
{
    if (isTranslucent())
        return;
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), PanelMetrics::cornerRadius, PanelMetrics::cornerRadius);
    setMask(QRegion(shape.toFillPolygon().toPolygon()));
}
