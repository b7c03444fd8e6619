// The tooltips of the bar's small buttons, their texts asked for each time
// one is shown, so the status button's tip names the status in force.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <initializer_list>
#include <string>

namespace tellu {

class BarTooltips {
 public:
  BarTooltips() = default;
  ~BarTooltips();
  BarTooltips(const BarTooltips&) = delete;
  BarTooltips& operator=(const BarTooltips&) = delete;

  // A tooltip control over `bar` with one tool per control id; `status`
  // gives the status index the texts mention.
  bool Create(HWND bar, std::initializer_list<int> controls, std::function<int()> status);
  // The bar's WM_NOTIFY: answers the tooltip's TTN_GETDISPINFOW; false for
  // any other notification.
  bool OnNotify(NMHDR* header);
  HWND Window() const { return tip_; }

 private:
  HWND tip_ = nullptr;
  std::function<int()> status_;
  std::wstring text_;  // must outlive the answer
};

}  // namespace tellu
