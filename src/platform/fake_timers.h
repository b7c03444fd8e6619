// Test double of the Timers port: a fake clock advanced by hand.
#pragma once
#include <map>
#include <utility>

#include "platform/timers.h"

namespace tellu {

class FakeTimers : public Timers {
 public:
  Id Start(int ms, bool repeat, std::function<void()> fire) override;
  void Cancel(Id id) override;
  LocalTime Now() override { return now_; }

  // Moves the clock forward, firing every timer that falls due, in time order.
  void Advance(int64_t ms);
  int64_t elapsed() const { return clock_; }
  size_t active() const { return timers_.size(); }
  bool IsActive(Id id) const { return timers_.count(id) != 0; }
  void SetNow(LocalTime t) { now_ = t; }

 private:
  struct Timer {
    int64_t due;
    int interval;
    bool repeat;
    std::function<void()> fire;
  };
  std::map<Id, Timer> timers_;
  Id next_ = 1;
  int64_t clock_ = 0;
  LocalTime now_{2002, 2, 3, 12, 34, 56};
};

}  // namespace tellu
