#pragma once

#include <QtGlobal>

// The panel's fixed sizes, in device-independent pixels.
namespace PanelMetrics {

inline constexpr int panelWidth = 326;
inline constexpr int headerHeight = 44;
inline constexpr int dividerHeight = 1;
inline constexpr int tokenRowHeight = 70;
inline constexpr int visibleRows = 3;
inline constexpr int quickEntryHeight = 52;
inline constexpr int quickEntryErrorHeight = 70;
inline constexpr int emptyStateHeight = 49;
// The keychain status line adds what an error line adds to the quick entry.
inline constexpr int statusLineHeight = quickEntryErrorHeight - quickEntryHeight;
inline constexpr int undoBarHeight = 36;
inline constexpr qreal cornerRadius = 17;

} // namespace PanelMetrics
