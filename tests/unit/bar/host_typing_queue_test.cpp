#include "bar/host_typing_queue.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/fake_timers.h"

namespace tellu {
namespace {

// Records what reaches the host, with the fake clock's time.
class RecordingSender : public HostSender {
 public:
  explicit RecordingSender(FakeTimers& timers) : timers_(timers) {}
  bool Confirm() override {
    log.push_back("confirm@" + std::to_string(timers_.elapsed()));
    return host_there;
  }
  void Perform(const HostStep& step) override {
    if (step.kind == HostStep::Kind::Post && step.message == hostmsg::kChar)
      log.push_back("char " + std::to_string(step.wparam) + "@" +
                    std::to_string(timers_.elapsed()));
    ++performed;
  }
  // The typed characters only, with their times.
  std::vector<std::string> log;
  int performed = 0;
  bool host_there = true;

 private:
  FakeTimers& timers_;
};

class HostTypingQueueTest : public ::testing::Test {
 protected:
  FakeTimers timers;
  RecordingSender sender{timers};
  int lost = 0;
  std::unique_ptr<HostTypingQueue> queue =
      std::make_unique<HostTypingQueue>(timers, sender, [this] { ++lost; });
};

using Lines = std::vector<std::string>;

TEST_F(HostTypingQueueTest, EachPlainCharacterIsFollowedBy50MsOnTheTimer) {
  int done = 0;
  queue->Type("a<b", [&] { ++done; });
  // Nothing sleeps: the call returns after the first character.
  EXPECT_EQ(sender.log, (Lines{"confirm@0", "char 97@0"}));
  EXPECT_TRUE(queue->busy());
  timers.Advance(49);
  EXPECT_EQ(sender.log.size(), 2u);
  timers.Advance(1);
  EXPECT_EQ(sender.log, (Lines{"confirm@0", "char 97@0", "char 129@50", "char 131@50", "char 98@50"}));
  EXPECT_EQ(done, 0);
  timers.Advance(50);
  // Then the Enter key's character and the deactivation, at once.
  EXPECT_EQ(sender.log.back(), "char 13@100");
  EXPECT_EQ(done, 1);
  EXPECT_FALSE(queue->busy());
  EXPECT_EQ(timers.active(), 0u);
  // activation 8 + 4 characters + Enter 3 + deactivation 3
  EXPECT_EQ(sender.performed, 18);
}

TEST_F(HostTypingQueueTest, ASecondDeliveryWaitsForTheFirst) {
  std::vector<int> done;
  queue->Type("ab", [&] { done.push_back(1); });
  queue->Type("c", [&] { done.push_back(2); });
  queue->Click(5, 5, [&] { done.push_back(3); });
  EXPECT_EQ(sender.log, (Lines{"confirm@0", "char 97@0"}));
  timers.Advance(1000);
  EXPECT_EQ(sender.log, (Lines{"confirm@0", "char 97@0", "char 98@50", "char 13@100", "confirm@100",
                               "char 99@100", "char 13@150", "confirm@150"}));
  EXPECT_EQ(done, (std::vector<int>{1, 2, 3}));
}

TEST_F(HostTypingQueueTest, AMissingHostStopsEveryWaitingDelivery) {
  int done = 0;
  queue->Type("ab", [&] { ++done; });
  queue->Type("cd", [&] { ++done; });
  sender.host_there = false;
  timers.Advance(1000);
  EXPECT_EQ(lost, 1);
  EXPECT_EQ(done, 1);  // the first had confirmed its host already
  EXPECT_FALSE(queue->busy());
  EXPECT_EQ(sender.log.back(), "confirm@100");

  sender.host_there = true;
  queue->Type("e", [&] { ++done; });
  EXPECT_EQ(sender.log.back(), "char 101@1000");
  timers.Advance(50);
  EXPECT_EQ(done, 2);
  EXPECT_EQ(lost, 1);
}

TEST_F(HostTypingQueueTest, DoneMayStartAnotherDelivery) {
  int done = 0;
  queue->Type("a", [&] {
    ++done;
    queue->Type("b", [&] { ++done; });
  });
  timers.Advance(1000);
  EXPECT_EQ(done, 2);
  EXPECT_EQ(sender.log, (Lines{"confirm@0", "char 97@0", "char 13@50", "confirm@50", "char 98@50",
                               "char 13@100"}));
}

TEST_F(HostTypingQueueTest, DoneMayDestroyTheQueue) {
  queue->Type("", [&] { queue.reset(); });
  queue.reset();  // already gone: reset twice is harmless
  EXPECT_EQ(timers.active(), 0u);

  queue = std::make_unique<HostTypingQueue>(timers, sender, [] {});
  queue->Type("a", [&] { queue.reset(); });
  queue->Type("b");
  timers.Advance(1000);
  EXPECT_EQ(queue, nullptr);
  EXPECT_EQ(sender.log.back(), "char 13@50");
}

TEST_F(HostTypingQueueTest, DestroyingTheQueueMidwayStopsItsTimer) {
  queue->Type("abc");
  EXPECT_EQ(timers.active(), 1u);
  queue.reset();
  EXPECT_EQ(timers.active(), 0u);
  timers.Advance(1000);
  EXPECT_EQ(sender.log, (Lines{"confirm@0", "char 97@0"}));
}

}  // namespace
}  // namespace tellu
