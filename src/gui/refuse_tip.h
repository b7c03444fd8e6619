// The balloon under the bar's edit that says why a line was not sent: a
// tracking tooltip, which every comctl32 the program runs with can show.
#pragma once
#include <windows.h>

#include <string>

namespace tellu {

class RefuseTip {
 public:
  RefuseTip() = default;
  ~RefuseTip();
  RefuseTip(const RefuseTip&) = delete;
  RefuseTip& operator=(const RefuseTip&) = delete;

  // Shows `text` (lines split by CR LF) pointing at the bottom of `edit`,
  // in place of any shown before.
  void Show(HWND edit, const std::wstring& text);
  void Hide();
  HWND Window() const { return tip_; }

 private:
  HWND tip_ = nullptr;
  HWND edit_ = nullptr;
  std::wstring text_;  // the tooltip reads it when it draws
};

}  // namespace tellu
