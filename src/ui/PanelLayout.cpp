#include "ui/PanelLayout.h"

#include "ui/PanelMetrics.h"

#include <algorithm>

using namespace PanelMetrics;

PanelLayout PanelLayout::of(const State &state)
{
    PanelLayout layout;
    const int w = state.width;
    layout.header = QRect(0, 0, w, headerHeight);
    int y = headerHeight;
    const auto take = [&](int height) {
        const QRect section(0, y, w, height);
        y += height;
        return section;
    };
    if (!state.collapsed) {
        layout.dividers.append(take(dividerHeight));
        if (state.keychainStatus)
            layout.keychainStatus = take(statusLineHeight);
        if (state.accounts == 0) {
            layout.quickEntry = take(state.quickError ? quickEntryErrorHeight : quickEntryHeight);
            layout.emptyState = take(emptyStateHeight);
        } else {
            layout.list = take(tokenRowHeight * int(std::min<qsizetype>(state.accounts, visibleRows)));
        }
        if (state.pendingDeletion) {
            layout.dividers.append(take(dividerHeight));
            layout.undoBar = take(undoBarHeight);
        }
    }
    layout.height = y;
    return layout;
}
