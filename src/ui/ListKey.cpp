#include "ui/ListKey.h"

#include <QKeyEvent>

std::optional<ListKey> ListKey::of(const QKeyEvent &event)
{
    const auto act = [](RowAction action) { return ListKey{Kind::Act, action, 0}; };
    const bool control = event.modifiers() & Qt::ControlModifier;
    switch (event.key()) {
    case Qt::Key_Up:
        return control ? act(RowAction::MoveUp) : ListKey{Kind::Step, RowAction::Copy, -1};
    case Qt::Key_Down:
        return control ? act(RowAction::MoveDown) : ListKey{Kind::Step, RowAction::Copy, 1};
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return act(control ? RowAction::TypeIntoPreviousWindow : RowAction::Copy);
    case Qt::Key_Delete:
        return act(RowAction::Delete);
    case Qt::Key_F2:
        return act(RowAction::Rename);
    case Qt::Key_F10:
        if (!(event.modifiers() & Qt::ShiftModifier))
            break;
        [[fallthrough]];
    case Qt::Key_Menu:
        return ListKey{Kind::Menu, RowAction::Copy, 0};
    default:
        break;
    }
    if (event.matches(QKeySequence::Copy))
        return act(RowAction::Copy);
    return std::nullopt;
}
