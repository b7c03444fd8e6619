// The bar's key filter: every key-down for the bar and its controls is looked
// at before the dialog's own key handling (and the edit's), whatever message
// loop takes it from the queue.
#pragma once
#include <windows.h>

#include <functional>

#include "bar/key_actions.h"

namespace tellu {

// The key of a virtual-key code, kOther for keys of no interest.
BarKey BarKeyOf(WPARAM virtual_key);

class BarKeyFilter {
 public:
  // act carries out an action other than kDefault and kSwallow and returns
  // whether the key is eaten.  One filter per thread.
  BarKeyFilter(HWND bar, HWND edit, std::function<bool()> launch_mode,
               std::function<bool(BarAction)> act);
  ~BarKeyFilter();
  BarKeyFilter(const BarKeyFilter&) = delete;
  BarKeyFilter& operator=(const BarKeyFilter&) = delete;

  // Windows whose keyboard input is eaten whole (a transfer window: it is
  // ended with the mouse only).  The mark lives on the window itself.
  static void IgnoreKeys(HWND window);

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam);
  // True when the message is eaten.
  bool Filter(const MSG& message);

  HWND bar_;
  HWND edit_;
  std::function<bool()> launch_mode_;
  std::function<bool(BarAction)> act_;
  HHOOK hook_ = nullptr;
};

}  // namespace tellu
