#include "win32/win_timers.h"

#include <utility>

namespace tellu {

WinTimers::~WinTimers() {
  for (const auto& timer : live_) window_.KillTimer(timer.second);
}

Timers::Id WinTimers::Start(int ms, bool repeat, std::function<void()> fire) {
  const Id id = next_++;
  const UINT interval = ms > 0 ? static_cast<UINT>(ms) : 0;
  const UINT_PTR timer = window_.StartTimer(interval, [this, id, repeat, fire = std::move(fire)] {
    // A one-shot timer is gone before it fires, so fire may start it anew.
    if (!repeat) Cancel(id);
    fire();
  });
  if (!timer) return 0;
  live_[id] = timer;
  return id;
}

void WinTimers::Cancel(Id id) {
  auto it = live_.find(id);
  if (it == live_.end()) return;
  window_.KillTimer(it->second);
  live_.erase(it);
}

LocalTime WinTimers::Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace tellu
