#include "app/launch_wait.h"

namespace tellu {

LaunchWait::LaunchWait(Timers& timers, int limit, std::function<bool()> host_there,
                       std::function<void(Outcome)> done)
    : timers_(timers), limit_(limit), host_there_(std::move(host_there)), done_(std::move(done)) {}

LaunchWait::~LaunchWait() {
  if (timer_) timers_.Cancel(timer_);
}

void LaunchWait::Start() {
  if (timer_) timers_.Cancel(timer_);
  count_ = 0;
  timer_ = timers_.Start(kTickMs, true, [this] { Tick(); });
}

void LaunchWait::Tick() {
  ++count_;
  // A host that turns up on the last tick is still taken.
  const bool found = host_there_ && host_there_();
  if (!found && count_ < limit_) return;
  timers_.Cancel(timer_);
  timer_ = 0;
  auto done = done_;  // done may destroy this object
  done(found ? Outcome::kFound : Outcome::kLimitReached);
}

}  // namespace tellu
