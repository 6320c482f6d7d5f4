#include "app/DialogFocus.h"

#include "app/X11Window.h"

#include <QDialog>
#include <QEvent>

namespace {

// Asked as the person's own doing, so that no focus-stealing guard keeps the keyboard
// elsewhere; queued, so that the window is mapped first.
void activate(QWidget *window)
{
    QMetaObject::invokeMethod(
        window,
        [window = QPointer(window)] {
            if (window && window->isVisible())
                X11Window::giveKeyboard(window);
        },
        Qt::QueuedConnection);
}

QDialog *openedDialog(QObject *watched)
{
    auto *dialog = qobject_cast<QDialog *>(watched);
    return dialog && dialog->isWindow() && dialog->parentWidget() ? dialog : nullptr;
}

} // namespace

bool DialogFocus::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::Show && type != QEvent::Hide && type != QEvent::WindowDeactivate)
        return false;
    QDialog *dialog = openedDialog(watched);
    if (!dialog)
        return false;
    if (type == QEvent::Show) {
        activate(dialog);
    } else if (type == QEvent::WindowDeactivate) {
        // A window that hides with the keyboard loses it first, in the same turn of the loop.
        m_losingKeyboard = dialog;
        QMetaObject::invokeMethod(
            this, [this] { m_losingKeyboard = nullptr; }, Qt::QueuedConnection);
    } else if (m_losingKeyboard == dialog) {
        activate(dialog->parentWidget()->window());
    }
    return false;
}
