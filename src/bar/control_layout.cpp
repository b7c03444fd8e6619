#include "bar/control_layout.h"

#include <cstdint>

namespace tellu {
namespace {

int AnchorX(int type, const Rect& r) {
  return type == 1 || type == 3 || type == 7 ? r.right : r.left;
}
int AnchorY(int type, const Rect& r) {
  return type == 2 || type == 3 || type == 5 ? r.bottom : r.top;
}

// offset * now / then, truncated toward zero; a window that had no size at
// creation gives nothing to scale by.
int Scale(int offset, int now, int then) {
  if (then == 0) return offset;
  return static_cast<int>(int64_t{offset} * now / then);
}

}  // namespace

ControlLayout::ControlLayout(const Rect& window, int min_width, int min_height)
    : origin_(window), min_width_(min_width), min_height_(min_height) {}

ControlLayout::Corner ControlLayout::Record(int type, int x, int y) const {
  if (type < 0 || type > 7) type = 0;
  return {type, x - AnchorX(type, origin_), y - AnchorY(type, origin_)};
}

void ControlLayout::Add(int id, const Rect& control, int top_left_type, int bottom_right_type) {
  controls_.push_back({id, Record(top_left_type, control.left, control.top),
                       Record(bottom_right_type, control.right, control.bottom)});
}

void ControlLayout::Place(const Corner& c, const Rect& window, int& x, int& y) const {
  int dx = c.dx, dy = c.dy;
  if (c.type == 4 || c.type == 5) dx = Scale(dx, window.width(), origin_.width());
  if (c.type == 6 || c.type == 7) dy = Scale(dy, window.height(), origin_.height());
  x = AnchorX(c.type, window) + dx;
  y = AnchorY(c.type, window) + dy;
}

std::vector<ControlLayout::Placed> ControlLayout::Layout(const Rect& window,
                                                         WindowState state) const {
  std::vector<Placed> placed;
  if (state != WindowState::kRestored) return placed;
  for (const auto& c : controls_) {
    Rect r;
    Place(c.top_left, window, r.left, r.top);
    Place(c.bottom_right, window, r.right, r.bottom);
    placed.push_back({c.id, r});
  }
  return placed;
}

}  // namespace tellu
