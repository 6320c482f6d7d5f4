#pragma once

class QMenu;
class TokenStore;

// The check item that hides the codes, shared by the title menu and the tray menu.
namespace HideCodesItem {

void addTo(QMenu &menu, TokenStore &store);

} // namespace HideCodesItem
