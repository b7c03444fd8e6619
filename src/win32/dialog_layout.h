// A ControlLayout applied to a live dialog: its controls follow the window's
// size as their anchors say, and the window keeps a minimum tracking size.
#pragma once
#include <windows.h>

#include <optional>
#include <span>

#include "bar/control_layout.h"

namespace tellu {

class DialogLayout {
 public:
  // Records the named controls as they stand now; controls the dialog does
  // not have are left out.
  void Capture(HWND dialog, std::span<const AnchoredControl> controls, int min_width,
               int min_height);
  // For WM_SIZE: moves the controls of a restored window.
  void OnSize(WPARAM size_state) const;
  // For WM_GETMINMAXINFO.
  void OnGetMinMaxInfo(MINMAXINFO* info) const;

 private:
  HWND dialog_ = nullptr;
  std::optional<ControlLayout> layout_;
};

}  // namespace tellu
