// The log window's Find: Windows' own Find dialog, modeless, over the view;
// F3 searches again with the last text, direction and case.
#pragma once
#include <windows.h>

#include <commdlg.h>

#include "gui/link_view.h"

namespace tellu {

class LogFind {
 public:
  // owner: the log window, which hears the dialog's messages.
  LogFind(HWND owner, LinkView& view);
  ~LogFind();
  LogFind(const LogFind&) = delete;
  LogFind& operator=(const LogFind&) = delete;

  // Ctrl+F and the menu item: the dialog, opened or brought to the front.
  void Open();
  // F3: the next match; the dialog when nothing was searched for yet.
  void Next();
  // The owner's messages from the dialog: true when it was one.
  bool OnMessage(UINT message, LPARAM lparam);

 private:
  void Search();
  void Closed();

  HWND owner_;
  LinkView& view_;
  HWND dialog_ = nullptr;
  wchar_t what_[256] = {};
  FINDREPLACEW request_{};
};

}  // namespace tellu
