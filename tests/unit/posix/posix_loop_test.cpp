#include "posix/posix_loop.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace tellu {
namespace {

constexpr int kDeadlineMs = 10000;

TEST(PosixLoop, TimersFireInDueOrderAndRepeatUntilCancelled) {
  PosixLoop loop;
  std::vector<std::string> fired;
  loop.Start(6, false, [&] { fired.push_back("six"); });
  loop.Start(2, false, [&] { fired.push_back("two"); });
  int ticks = 0;
  Timers::Id repeating = 0;
  repeating = loop.Start(1, true, [&] {
    if (++ticks == 3) loop.Cancel(repeating);
  });
  ASSERT_TRUE(loop.RunUntil([&] { return fired.size() == 2; }, kDeadlineMs));
  EXPECT_EQ(fired, (std::vector<std::string>{"two", "six"}));
  ASSERT_TRUE(loop.RunUntil([&] { return ticks >= 3; }, kDeadlineMs));
  bool late = false;
  loop.Start(10, false, [&] { late = true; });
  ASSERT_TRUE(loop.RunUntil([&] { return late; }, kDeadlineMs));
  EXPECT_EQ(ticks, 3);
}

TEST(PosixLoop, TimerMayCancelAnotherThatIsAlsoDue) {
  PosixLoop loop;
  bool second = false, done = false;
  Timers::Id b = 0;
  loop.Start(1, false, [&] { loop.Cancel(b); });
  b = loop.Start(1, false, [&] { second = true; });
  loop.Start(20, false, [&] { done = true; });
  ASSERT_TRUE(loop.RunUntil([&] { return done; }, kDeadlineMs));
  EXPECT_FALSE(second);
}

TEST(PosixLoop, WatchSeesReadableDescriptorAndMayRemoveItself) {
  PosixLoop loop;
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  std::string got;
  int calls = 0;
  loop.Watch(fds[0], PosixLoop::kRead, [&](unsigned ready) {
    ++calls;
    char buffer[16];
    const ssize_t n = read(fds[0], buffer, sizeof buffer);
    if (n > 0) got.append(buffer, static_cast<size_t>(n));
    loop.Unwatch(fds[0]);
  });
  ASSERT_EQ(write(fds[1], "line\n", 5), 5);
  ASSERT_TRUE(loop.RunUntil([&] { return !got.empty(); }, kDeadlineMs));
  ASSERT_EQ(write(fds[1], "more\n", 5), 5);
  loop.RunOnce(0);
  EXPECT_EQ(got, "line\n");
  EXPECT_EQ(calls, 1);
  close(fds[0]);
  close(fds[1]);
}

TEST(PosixLoop, DeferredCallsRunBeforeWaitingAndTheirOwnWaitARound) {
  PosixLoop loop;
  std::vector<int> order;
  loop.Defer([&] {
    order.push_back(1);
    loop.Defer([&] { order.push_back(3); });
  });
  loop.Defer([&] { order.push_back(2); });
  // Nothing else would wake the loop: a deferred call must not wait 10 s.
  loop.RunOnce(kDeadlineMs);
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

}  // namespace
}  // namespace tellu
