#pragma once

class QMenu;

// The version line and the project contact, shared by the title menu and the tray menu.
namespace AboutItems {

void addTo(QMenu &menu);

} // namespace AboutItems
