#pragma once

#include "ui/RowAction.h"

#include <optional>

class QKeyEvent;

// What a key pressed on the account list asks for: an action on the current row, a step of
// the current row up or down, or the current row's menu.
struct ListKey
{
    enum class Kind { Act, Step, Menu };

    // Absent for the keys the list leaves to others (typed text among them).
    static std::optional<ListKey> of(const QKeyEvent &event);

    Kind kind = Kind::Act;
    RowAction action = RowAction::Copy;
    int step = 0;
};
