// The user's status on the bar: the pictures of the statuses, the status
// button and window icon that show the current one, and the status menu that
// drops from the button.
#pragma once
#include <windows.h>

#include "chat/chat_state.h"
#include "gui/bitmap_cache.h"
#include "gui/bmp_menu.h"

namespace tellu {

// The status bitmaps of the program's resources, loaded on first use and
// kept for the run.
class StatusPictures {
 public:
  // nullptr for an index outside 0..6.
  HBITMAP Get(int index);

 private:
  BitmapCache cache_;
};

// The status button (control 1059) shows the status's picture, and the
// window's small icon is icon 155 while away, else icon 128.
void ShowStatusOnBar(HWND bar, int index, StatusPictures& pictures);
// The shared icon `id` of the program at the small or large icon size.
HICON ProgramIcon(int id, bool small);

class StatusPopup {
 public:
  explicit StatusPopup(StatusPictures& pictures) : pictures_(pictures) {}

  // Shows the statuses offered at `at` (screen pixels); the owner gets the
  // WM_COMMAND 800 + index of the one chosen.  Returns once it has closed.
  void Show(HWND owner, POINT at);
  HMENU Menu() const { return menu_.Menu(); }
  HWND Window() const { return menu_.Window(); }

 private:
  StatusPictures& pictures_;
  // Made once and filled afresh at every showing.
  CBmpMenu menu_{0, false, nullptr, true};
};

}  // namespace tellu
