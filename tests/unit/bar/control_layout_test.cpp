#include "bar/control_layout.h"

#include <gtest/gtest.h>

namespace tellu {
namespace {

// A window at (100, 200) of 200 x 100; the control sits at (140, 230)-(160, 250).
constexpr Rect kWindow{100, 200, 300, 300};
constexpr Rect kControl{140, 230, 160, 250};

Rect Moved(int top_left, int bottom_right, const Rect& window) {
  ControlLayout layout(kWindow, 80, 45);
  layout.Add(7, kControl, top_left, bottom_right);
  auto placed = layout.Layout(window, WindowState::kRestored);
  EXPECT_EQ(placed.size(), 1u);
  return placed.empty() ? Rect{} : placed[0].rect;
}

TEST(ControlLayout, UnscaledAnchorsKeepTheirDistance) {
  // Moved by (10, 20) and grown by (100, 50).
  const Rect to{110, 220, 410, 370};
  // Top-left anchor: the control only follows the move.
  EXPECT_EQ(Moved(0, 0, to), (Rect{150, 250, 170, 270}));
  // Top-right: x follows the right edge (grew by 100 plus the move).
  EXPECT_EQ(Moved(1, 1, to), (Rect{250, 250, 270, 270}));
  // Bottom-left: y follows the bottom edge.
  EXPECT_EQ(Moved(2, 2, to), (Rect{150, 300, 170, 320}));
  // Bottom-right, and a stretching control (top-left, bottom-right).
  EXPECT_EQ(Moved(3, 3, to), (Rect{250, 300, 270, 320}));
  EXPECT_EQ(Moved(0, 3, to), (Rect{150, 250, 270, 320}));
}

TEST(ControlLayout, ScaledAnchorsScaleOneOffset) {
  const Rect to{100, 200, 400, 350};  // 1.5 times as wide and as high
  // Type 4: x offsets 40 and 60 from the left become 60 and 90.
  EXPECT_EQ(Moved(4, 4, to), (Rect{160, 230, 190, 250}));
  // Type 5: from the bottom-left; y offsets -70 and -50 unscaled.
  EXPECT_EQ(Moved(5, 5, to), (Rect{160, 280, 190, 300}));
  // Type 6: y offsets 30 and 50 from the top become 45 and 75.
  EXPECT_EQ(Moved(6, 6, to), (Rect{140, 245, 160, 275}));
  // Type 7: from the top-right, x offsets -160 and -140 unscaled.
  EXPECT_EQ(Moved(7, 7, to), (Rect{240, 245, 260, 275}));
}

TEST(ControlLayout, ScaledOffsetsTruncateTowardZero) {
  const Rect to{100, 200, 303, 301};  // width 203, height 101
  // 40 * 203 / 200 = 40.6 -> 40; 60 * 203 / 200 = 60.9 -> 60.
  EXPECT_EQ(Moved(4, 4, to).left, 140);
  EXPECT_EQ(Moved(4, 4, to).right, 160);
  // Negative offsets from the right: -160 and -140 with y scaled; x of a
  // type 7 is not scaled, so check the y: 30 * 101 / 100 = 30.3 -> 30.
  EXPECT_EQ(Moved(7, 7, to).top, 230);
  // A negative scaled offset: control left of the window's left edge.
  ControlLayout layout(kWindow, 0, 0);
  layout.Add(1, Rect{95, 200, 100, 210}, 4, 0);  // x offset -5
  auto placed = layout.Layout(Rect{100, 200, 330, 300}, WindowState::kRestored);
  EXPECT_EQ(placed[0].rect.left, 100 - 5);  // -5.75 -> -5, not -6
}

TEST(ControlLayout, OnlyARestoredWindowMovesItsControls) {
  ControlLayout layout(kWindow, kBarMinWidth, kBarMinHeight);
  for (const auto& c : kBarControls)
    layout.Add(c.id, kControl, c.top_left_type, c.bottom_right_type);
  const Rect big{0, 0, 1024, 768};
  EXPECT_TRUE(layout.Layout(big, WindowState::kMaximised).empty());
  EXPECT_TRUE(layout.Layout(big, WindowState::kMinimised).empty());
  auto placed = layout.Layout(big, WindowState::kRestored);
  ASSERT_EQ(placed.size(), 5u);
  EXPECT_EQ(placed[0].id, 1001);
  EXPECT_EQ(placed[4].id, 1000);
  EXPECT_EQ(layout.min_width(), 80);
  EXPECT_EQ(layout.min_height(), 45);
}

TEST(ControlLayout, SameWindowGivesTheSameRectangles) {
  for (int tl = 0; tl < 8; ++tl)
    for (int br = 0; br < 8; ++br) EXPECT_EQ(Moved(tl, br, kWindow), kControl);
}

TEST(ControlLayout, DegenerateInputsStayDefined) {
  ControlLayout empty(Rect{10, 10, 10, 10}, 0, 0);
  empty.Add(1, Rect{12, 12, 14, 14}, 4, 9);  // nothing to scale by; bad type is 0
  auto placed = empty.Layout(Rect{20, 20, 60, 60}, WindowState::kRestored);
  EXPECT_EQ(placed[0].rect, (Rect{22, 22, 24, 24}));
}

}  // namespace
}  // namespace tellu
