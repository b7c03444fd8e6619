// The wait for the launched host and the docking slide's arithmetic.
#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "app/launch_wait.h"
#include "bar/slide.h"
#include "platform/fake_timers.h"

namespace tellu {
namespace {

class Wait : public ::testing::Test {
 protected:
  void Make(int limit) {
    wait.emplace(timers, limit, [this] {
      ++asked;
      return there;
    }, [this](LaunchWait::Outcome o) { outcome = o; });
    wait->Start();
  }
  FakeTimers timers;
  bool there = false;
  int asked = 0;
  std::optional<LaunchWait::Outcome> outcome;
  std::optional<LaunchWait> wait;
};

TEST_F(Wait, AskedOncePerSecondUntilTheHostIsThere) {
  Make(25);
  timers.Advance(2999);
  EXPECT_EQ(asked, 2);
  EXPECT_FALSE(outcome);
  there = true;
  timers.Advance(1);
  EXPECT_EQ(outcome, LaunchWait::Outcome::kFound);
  EXPECT_FALSE(wait->waiting());
  timers.Advance(10000);
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(timers.active(), 0u);
}

TEST_F(Wait, GivesUpAtTheLimit) {
  Make(5);
  timers.Advance(4999);
  EXPECT_FALSE(outcome);
  timers.Advance(1);
  EXPECT_EQ(outcome, LaunchWait::Outcome::kLimitReached);
  EXPECT_EQ(wait->count(), 5);
  EXPECT_EQ(timers.active(), 0u);
}

TEST_F(Wait, AHostOnTheLastTickIsStillFound) {
  Make(3);
  timers.Advance(2000);
  there = true;
  timers.Advance(1000);
  EXPECT_EQ(outcome, LaunchWait::Outcome::kFound);
}

TEST_F(Wait, DestroyingTheWaitStopsTheTimer) {
  Make(3);
  wait.reset();
  timers.Advance(5000);
  EXPECT_FALSE(outcome);
  EXPECT_EQ(timers.active(), 0u);
}

TEST(Slide, FiftyStepsOfAFiftiethThenExactlyTheTarget) {
  const SlidePoint start{0, 500}, target{100, 400};
  // 0.02f in double precision is a hair below 0.02, so a step that would
  // land on a whole pixel stops one short, toward the start on both the
  // rising and the falling axis; the 50th step too.
  EXPECT_EQ(SlidePosition(start, target, 0), (SlidePoint{1, 499}));
  EXPECT_EQ(SlidePosition(start, target, 24), (SlidePoint{49, 451}));
  EXPECT_EQ(SlidePosition({0, 0}, {30, 0}, 4), (SlidePoint{2, 0}));  // 2.99999...
  EXPECT_EQ(SlidePosition({0, 0}, {75, 0}, 1), (SlidePoint{2, 0}));  // 2.99999...
  EXPECT_EQ(SlidePosition({0, 0}, {77, 0}, 1), (SlidePoint{3, 0}));  // 3.0799...
  EXPECT_EQ(SlidePosition(start, target, 49), (SlidePoint{99, 401}));
  EXPECT_FALSE(SlideEnds(49));
  EXPECT_TRUE(SlideEnds(50));
  EXPECT_EQ(SlidePosition(start, target, 50), target);
}

TEST(Slide, EveryStepLiesBetweenStartAndTarget) {
  const SlidePoint start{INT_MIN, INT_MAX}, target{INT_MAX, INT_MIN};
  for (int k = 0; k < kSlideSteps; ++k) {
    const SlidePoint p = SlidePosition(start, target, k);
    const SlidePoint next = SlidePosition(start, target, k + 1);
    EXPECT_LE(p.x, next.x);
    EXPECT_GE(p.y, next.y);
  }
  EXPECT_EQ(SlidePosition(start, target, kSlideSteps), target);
  EXPECT_EQ(SlidePosition({7, 7}, {7, 7}, 10), (SlidePoint{7, 7}));
}

}  // namespace
}  // namespace tellu
