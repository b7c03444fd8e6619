#include "gui/avatar_popup.h"

#include "win32/wide_text.h"

namespace tellu {

HMENU BuildPopupMenu(const Menu& items) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  for (const MenuItem& item : items) {
    switch (item.kind) {
      case MenuItem::Kind::kSeparator:
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        break;
      case MenuItem::Kind::kText:
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.command), Wide(item.label).c_str());
        break;
      case MenuItem::Kind::kPopup:
        if (HMENU sub = BuildPopupMenu(item.items))
          AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), Wide(item.label).c_str());
        break;
    }
  }
  return menu;
}

void ShowPopupAtCursor(HWND owner, const Menu& items) {
  if (items.empty()) return;
  HMENU menu = BuildPopupMenu(items);
  if (!menu) return;
  POINT at{};
  GetCursorPos(&at);
  // Without the foreground a platform popup does not close when the user
  // clicks elsewhere.
  SetForegroundWindow(owner);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
  DestroyMenu(menu);
}

}  // namespace tellu
