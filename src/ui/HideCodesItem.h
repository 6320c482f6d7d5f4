#pragma once

class QMenu;
class PanelPreferences;

// The check item that hides the codes, shared by the title menu and the tray menu.
namespace HideCodesItem {

void addTo(QMenu &menu, PanelPreferences &preferences);

} // namespace HideCodesItem
