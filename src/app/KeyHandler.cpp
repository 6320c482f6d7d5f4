#include "app/KeyHandler.h"

#include "app/FloatingWindowController.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

KeyHandler::KeyHandler(QWidget *panel, FloatingWindowController &controller, QObject *parent)
    : QObject(parent),
      m_panel(panel),
      m_controller(controller)
{}

void KeyHandler::setEscapeHandler(std::function<bool()> handler)
{
    m_escapeHandler = std::move(handler);
}

std::optional<KeyHandler::Action> KeyHandler::actionFor(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers & Qt::ControlModifier) {
        if (modifiers & Qt::ShiftModifier) {
            if (event.key() == Qt::Key_V)
                return Action::PasteAndAdd;
        } else if (event.key() >= Qt::Key_1 && event.key() <= Qt::Key_3) {
            return Action(int(Action::CopyFirst) + (event.key() - Qt::Key_1));
        }
    }
    if (event.key() == Qt::Key_Escape)
        return Action::HidePanel;
    return std::nullopt;
}

bool KeyHandler::goesToPanel(QObject *receiver) const
{
    const auto *widget = qobject_cast<QWidget *>(receiver);
    return widget && m_panel && widget->window() == m_panel && !QApplication::activeModalWidget();
}

bool KeyHandler::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !goesToPanel(watched))
        return false;
    const auto action = actionFor(*static_cast<QKeyEvent *>(event));
    if (!action)
        return false;
    perform(*action);
    return true;
}

void KeyHandler::perform(Action action)
{
    switch (action) {
    case Action::CopyFirst:
    case Action::CopySecond:
    case Action::CopyThird:
        Q_EMIT copyTokenAtIndex(int(action) - int(Action::CopyFirst));
        break;
    case Action::PasteAndAdd:
        Q_EMIT pasteSecretAndAdd();
        break;
    case Action::HidePanel:
        if (!m_escapeHandler || !m_escapeHandler())
            m_controller.hidePanel();
        break;
    }
}
