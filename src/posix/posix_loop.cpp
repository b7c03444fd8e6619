#include "posix/posix_loop.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <utility>

namespace tellu {

PosixLoop::PosixLoop() = default;
PosixLoop::~PosixLoop() = default;

void PosixLoop::Watch(int fd, unsigned events, WatchFn fn) {
  watches_[fd] = std::make_shared<WatchEntry>(WatchEntry{events, std::move(fn)});
}

void PosixLoop::SetEvents(int fd, unsigned events) {
  auto it = watches_.find(fd);
  if (it != watches_.end()) it->second->events = events;
}

void PosixLoop::Unwatch(int fd) { watches_.erase(fd); }

void PosixLoop::Defer(std::function<void()> fn) { deferred_.Push(std::move(fn)); }

int PosixLoop::WaitMs(int max_wait_ms) const {
  if (!deferred_.empty()) return 0;
  int wait = max_wait_ms;
  if (!timers_.empty()) {
    auto due = timers_.begin()->second.due;
    for (const auto& [id, t] : timers_) due = std::min(due, t.due);
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(due - Clock::now()).count();
    const int until = static_cast<int>(std::clamp<int64_t>(left, 0, 1 << 30));
    wait = wait < 0 ? until : std::min(wait, until);
  }
  return wait;
}

void PosixLoop::DispatchFds(int wait_ms) {
  // Scratch vectors are borrowed, so a round run from inside a callback
  // still has its own.
  std::vector<pollfd> fds = std::move(fds_scratch_);
  std::vector<std::shared_ptr<WatchEntry>> entries = std::move(entries_scratch_);
  fds.clear();
  entries.clear();
  for (const auto& [fd, entry] : watches_) {
    if (entry->events == 0) continue;
    short events = 0;
    if (entry->events & kRead) events |= POLLIN;
    if (entry->events & kWrite) events |= POLLOUT;
    fds.push_back({fd, events, 0});
    entries.push_back(entry);
  }
  const int n = poll(fds.data(), fds.size(), wait_ms);
  for (size_t i = 0; n > 0 && i < fds.size(); ++i) {
    const short r = fds[i].revents;
    if (r == 0) continue;
    // Skip a watch removed or replaced by an earlier callback of this round.
    auto it = watches_.find(fds[i].fd);
    if (it == watches_.end() || it->second != entries[i]) continue;
    unsigned ready = 0;
    if (r & POLLIN) ready |= kRead;
    if (r & POLLOUT) ready |= kWrite;
    if (r & (POLLERR | POLLHUP | POLLNVAL)) ready |= kError;
    // entries[i] keeps the callback alive even if it unwatches itself.
    entries[i]->fn(ready);
  }
  entries.clear();
  fds_scratch_ = std::move(fds);
  entries_scratch_ = std::move(entries);
}

void PosixLoop::FireTimers() {
  const auto now = Clock::now();
  std::vector<std::pair<Clock::time_point, Id>> due;
  for (const auto& [id, t] : timers_)
    if (t.due <= now) due.push_back({t.due, id});
  std::sort(due.begin(), due.end());
  for (const auto& [when, id] : due) {
    auto it = timers_.find(id);
    if (it == timers_.end()) continue;  // cancelled by an earlier timer
    auto fire = it->second.fire;        // copy: the timer may cancel itself
    if (it->second.repeat)
      it->second.due = now + std::chrono::milliseconds(std::max(it->second.interval, 1));
    else
      timers_.erase(it);
    fire();
  }
}

void PosixLoop::RunDeferred() { deferred_.RunRound(nullptr); }

void PosixLoop::RunOnce(int max_wait_ms) {
  RunDeferred();
  DispatchFds(WaitMs(max_wait_ms));
  FireTimers();
  RunDeferred();
}

void PosixLoop::Run() {
  quit_ = false;
  while (!quit_) RunOnce(-1);
}

bool PosixLoop::RunUntil(const std::function<bool()>& done, int timeout_ms) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!done()) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count();
    if (left <= 0) return done();
    RunOnce(static_cast<int>(left));
  }
  return true;
}

Timers::Id PosixLoop::Start(int ms, bool repeat, std::function<void()> fire) {
  const Id id = next_timer_++;
  timers_[id] = Timer{Clock::now() + std::chrono::milliseconds(std::max(ms, 0)), ms, repeat,
                      std::move(fire)};
  return id;
}

void PosixLoop::Cancel(Id id) { timers_.erase(id); }

LocalTime PosixLoop::Now() {
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace tellu
