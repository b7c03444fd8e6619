// The wait for a launched host (timer 1 in its waiting state): once a second
// the front end is asked whether the host is there, until it is or the
// search limit is reached.
#pragma once
#include <functional>

#include "platform/timers.h"

namespace tellu {

class LaunchWait {
 public:
  static constexpr int kTickMs = 1000;
  enum class Outcome { kFound, kLimitReached };

  // limit: SearchTimer, the number of ticks to wait.  done runs once, from a
  // tick, after the timer has stopped; it may destroy this object.
  LaunchWait(Timers& timers, int limit, std::function<bool()> host_there,
             std::function<void(Outcome)> done);
  ~LaunchWait();
  LaunchWait(const LaunchWait&) = delete;
  LaunchWait& operator=(const LaunchWait&) = delete;

  void Start();
  bool waiting() const { return timer_ != 0; }
  int count() const { return count_; }

 private:
  void Tick();

  Timers& timers_;
  int limit_;
  std::function<bool()> host_there_;
  std::function<void(Outcome)> done_;
  Timers::Id timer_ = 0;
  int count_ = 0;
};

}  // namespace tellu
