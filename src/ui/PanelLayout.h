#pragma once

#include <QList>
#include <QRect>

#include <optional>

// Where the panel's sections go for what it shows: one column, top to bottom, each section
// its fixed height, so the panel's height is the bottom of the last one. A section not shown
// has no place.
struct PanelLayout
{
    struct State
    {
        int width = 0;
        bool collapsed = false;
        qsizetype accounts = 0;
        bool pendingDeletion = false;
        bool quickError = false;
        bool keychainStatus = false;
    };

    static PanelLayout of(const State &state);

    int height = 0;
    QRect header;
    std::optional<QRect> keychainStatus;
    std::optional<QRect> quickEntry;
    std::optional<QRect> emptyState;
    std::optional<QRect> list;
    std::optional<QRect> undoBar;
    // The hairlines under the header and above the undo bar.
    QList<QRect> dividers;
};
