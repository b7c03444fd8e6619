#include "platform/fake_timers.h"

namespace tellu {

Timers::Id FakeTimers::Start(int ms, bool repeat, std::function<void()> fire) {
  Id id = next_++;
  timers_[id] = Timer{clock_ + ms, ms, repeat, std::move(fire)};
  return id;
}

void FakeTimers::Cancel(Id id) { timers_.erase(id); }

void FakeTimers::Advance(int64_t ms) {
  const int64_t end = clock_ + ms;
  for (;;) {
    // Earliest due timer; ties go to the one started first.
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it)
      if (it->second.due <= end && (next == timers_.end() || it->second.due < next->second.due))
        next = it;
    if (next == timers_.end()) break;
    clock_ = next->second.due;
    Id id = next->first;
    auto fire = next->second.fire;  // copy: the timer may cancel itself
    if (next->second.repeat)
      next->second.due += next->second.interval > 0 ? next->second.interval : 1;
    else
      timers_.erase(next);
    fire();
    (void)id;
  }
  clock_ = end;
}

}  // namespace tellu
