#pragma once

// What a person asks of an account's row, by a click, the row's menu, the list's keys or a
// drop of another row on it.
enum class RowAction {
    Copy,
    Rename,
    ShowQrCode,
    MoveUp,
    MoveDown,
    Delete,
    // Another row was dropped on this one: it moves to just above it.
    DropOnto,
    // The code typed into the window that had the keyboard before the panel.
    TypeIntoPreviousWindow,
};
