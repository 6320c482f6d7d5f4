#include "app/DialogFocus.h"

#include "app/X11Window.h"

#include <QDialog>
#include <QEvent>
#include <QPointer>

namespace {

// Asked as the person's own doing, so that no focus-stealing guard keeps the keyboard
// elsewhere; queued, so that the window is mapped first.
void activate(QWidget *window)
{
    QMetaObject::invokeMethod(
        window,
        [window = QPointer(window)] {
            if (!window || !window->isVisible())
                return;
            if (X11Window::connection())
                X11Window::activateForUser(window->winId());
            else
                window->activateWindow();
        },
        Qt::QueuedConnection);
}

} // namespace

bool DialogFocus::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Show && event->type() != QEvent::Hide)
        return false;
    auto *dialog = qobject_cast<QDialog *>(watched);
    if (!dialog || !dialog->isWindow() || !dialog->parentWidget())
        return false;
    if (event->type() == QEvent::Show)
        activate(dialog);
    else if (dialog->isActiveWindow())
        activate(dialog->parentWidget()->window());
    return false;
}
