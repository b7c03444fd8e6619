#include "bar/slide.h"

#include <cmath>

namespace tellu {
namespace {

int Step(int start, int target, int k) {
  // The constant is single precision, the arithmetic double, as the
  // original compiler evaluated it: 50 x 0.02f is a hair below 1.
  const double factor = static_cast<double>(0.02f);
  const double moved = (k + 1) * factor * (static_cast<double>(target) - start);
  // Lies between start and target, so it fits an int whatever they are.
  return static_cast<int>(start + std::trunc(moved));
}

}  // namespace

SlidePoint SlidePosition(SlidePoint start, SlidePoint target, int k) {
  if (SlideEnds(k)) return target;
  if (k < 0) return start;
  return {Step(start.x, target.x, k), Step(start.y, target.y, k)};
}

}  // namespace tellu
