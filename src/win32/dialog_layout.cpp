#include "win32/dialog_layout.h"

namespace tellu {
namespace {

Rect ScreenRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

void DialogLayout::Capture(HWND dialog, std::span<const AnchoredControl> controls,
                           int min_width, int min_height) {
  dialog_ = dialog;
  layout_.emplace(ScreenRect(dialog), min_width, min_height);
  for (const AnchoredControl& c : controls)
    if (HWND control = GetDlgItem(dialog, c.id))
      layout_->Add(c.id, ScreenRect(control), c.top_left_type, c.bottom_right_type);
}

void DialogLayout::OnSize(WPARAM size_state) const {
  if (size_state != SIZE_RESTORED || !layout_) return;
  for (const ControlLayout::Placed& placed :
       layout_->Layout(ScreenRect(dialog_), WindowState::kRestored)) {
    POINT corner{placed.rect.left, placed.rect.top};
    ScreenToClient(dialog_, &corner);
    if (HWND control = GetDlgItem(dialog_, placed.id))
      MoveWindow(control, corner.x, corner.y, placed.rect.width(), placed.rect.height(), TRUE);
  }
}

void DialogLayout::OnGetMinMaxInfo(MINMAXINFO* info) const {
  if (layout_) info->ptMinTrackSize = {layout_->min_width(), layout_->min_height()};
}

}  // namespace tellu
