// Popup menus built from menu tables.
#pragma once

#include "platform/menu_item.h"

#include <windows.h>

namespace qv {

// Shows a popup menu at a screen point, owned by owner, and runs the chosen item's action; true
// when an item was chosen.
bool RunPopupMenu(HWND owner, const Menu& items, POINT screen);

} // namespace qv
