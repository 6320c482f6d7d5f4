#include "ui/ReturnKeyFilter.h"

#include <QAbstractButton>
#include <QKeyEvent>

bool ReturnKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    auto *button = qobject_cast<QAbstractButton *>(watched);
    if (!button || !button->hasFocus() || !button->isEnabled())
        return false;
    // A held key presses once, as Space does.
    if (!key->isAutoRepeat())
        button->animateClick();
    return true;
}
