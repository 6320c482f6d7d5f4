#pragma once

#include <QPointer>
#include <QWidget>

#include <optional>

// The application's main window: a frameless, always-on-top tool window without a
// taskbar entry, on every desktop, that takes keyboard focus and is moved by dragging
// any part of it that does not take the press itself. It is translucent where a
// compositor runs; elsewhere its body is opaque and cut to rounded corners.
class InteractiveFloatingPanel : public QWidget
{
    Q_OBJECT

public:
    explicit InteractiveFloatingPanel(QWidget *parent = nullptr);

    // Fills the panel with `content`, which it then owns; a previous content is deleted.
    void setContent(QWidget *content);
    QWidget *content() const { return m_content; }
    bool isTranslucent() const { return testAttribute(Qt::WA_TranslucentBackground); }

    void setVisible(bool visible) override;

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateMask();

    QPointer<QWidget> m_content;
    // A left press on the panel itself: where the pointer holds the panel, and whether
    // the panel follows the pointer without the window manager.
    struct Press
    {
        QPoint offset;
        bool following;
    };
    std::optional<Press> m_press;
};
