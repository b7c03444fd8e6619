// The docking slide of the input bar (timer 1 in its sliding state), as
// arithmetic: where the bar stands after each 10 ms tick.
#pragma once

namespace tellu {

struct SlidePoint {
  int x = 0, y = 0;
  friend bool operator==(const SlidePoint&, const SlidePoint&) = default;
};

inline constexpr int kSlideTickMs = 10;
// Ticks 0..49 interpolate; tick 50 places the bar exactly and ends the slide.
inline constexpr int kSlideSteps = 50;

// The bar's position after the tick whose count before it was k: start +
// (k + 1) x 0.02 x (target - start) in each axis, 0.02 as a single-precision
// constant and the product truncated toward zero, so the last interpolated
// step may stop a pixel short; from k = 50 on, the target itself.
SlidePoint SlidePosition(SlidePoint start, SlidePoint target, int k);

// The tick with count k before it is the last of the slide.
inline bool SlideEnds(int k) { return k >= kSlideSteps; }

}  // namespace tellu
