// The calls a loop runs after the event at hand, in the order they were
// queued.  A call may run a nested loop (a message box): the calls behind it
// then run in that loop's rounds, in order, instead of waiting for it to end.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>

namespace tellu {

class DeferredCalls {
 public:
  void Push(std::function<void()> fn);
  bool empty() const { return queue_.empty(); }

  // Runs the calls queued before this round began; those they queue wait
  // for the next round, so a call that queues itself cannot hold the loop.
  // `again` runs before each call that leaves others waiting: the loop must
  // come round again even if that call never returns to it.
  void RunRound(const std::function<void()>& again);

 private:
  struct Call {
    uint64_t number;
    std::function<void()> fn;
  };
  std::deque<Call> queue_;
  uint64_t next_ = 0;
};

}  // namespace tellu
