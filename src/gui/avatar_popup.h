// The avatar exchange's menus (avatar change, avatar file request) as
// platform popup menus at the mouse cursor.
#pragma once
#include <windows.h>

#include "avatar/avatar_menu.h"

namespace tellu {

// A popup menu holding the items, submenus included; the caller destroys it.
HMENU BuildPopupMenu(const Menu& items);

// Shows the items at the cursor; the choice comes to `owner` as a WM_COMMAND
// with lParam 0.  Nothing is shown for an empty menu.
void ShowPopupAtCursor(HWND owner, const Menu& items);

}  // namespace tellu
