// ControlLayout: a dialog's controls keep their corners' offsets from anchor
// points of the window rectangle, some offsets scaled with the window's size.
#pragma once
#include <vector>

#include "bar/bar_controls.h"

namespace tellu {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// Anchor types 0..7: 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right,
// 4 top-left with x scaled by width, 5 bottom-left with x scaled by width,
// 6 top-left with y scaled by height, 7 top-right with y scaled by height.
enum class WindowState { kRestored, kMinimised, kMaximised };

class ControlLayout {
 public:
  struct Placed {
    int id;
    Rect rect;
  };

  // All rectangles, here and below, are in one coordinate system (the
  // screen's, say); results come back in it.
  ControlLayout(const Rect& window, int min_width, int min_height);

  // Records the control's corners against the window at creation.  An
  // anchor type outside 0..7 counts as 0.
  void Add(int id, const Rect& control, int top_left_type, int bottom_right_type);

  // Where each control goes in the new window rectangle, in registration
  // order.  Only a restored window moves its controls; otherwise nothing.
  std::vector<Placed> Layout(const Rect& window, WindowState state) const;

  int min_width() const { return min_width_; }
  int min_height() const { return min_height_; }

 private:
  struct Corner {
    int type, dx, dy;
  };
  struct Control {
    int id;
    Corner top_left, bottom_right;
  };
  Corner Record(int type, int x, int y) const;
  void Place(const Corner& corner, const Rect& window, int& x, int& y) const;

  Rect origin_;
  int min_width_, min_height_;
  std::vector<Control> controls_;
};

// The input bar's controls, in registration order, with their anchor types.
struct AnchoredControl {
  int id, top_left_type, bottom_right_type;
};
inline constexpr AnchoredControl kBarControls[] = {
    {kWhoButton, 7, 3}, {kMessageTableButton, 1, 7}, {kStatusButton, 7, 3}, {kBarOkButton, 0, 0},
    {kBarEdit, 0, 3}};
inline constexpr int kBarMinWidth = 80;
inline constexpr int kBarMinHeight = 45;

}  // namespace tellu
