// The one event loop of a POSIX program on poll(): sockets, standard input,
// timers (it is the Timers port) and deferred calls.
#pragma once
#include <poll.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/deferred_calls.h"
#include "platform/timers.h"

namespace tellu {

class PosixLoop : public Timers {
 public:
  // Readiness bits given to a watch.
  enum : unsigned { kRead = 1, kWrite = 2, kError = 4 };
  using WatchFn = std::function<void(unsigned ready)>;

  PosixLoop();
  ~PosixLoop() override;
  PosixLoop(const PosixLoop&) = delete;
  PosixLoop& operator=(const PosixLoop&) = delete;

  // Calls fn with the readiness of fd for the events asked (kRead, kWrite);
  // errors and hang-ups come with them, and a watch asking for nothing is
  // not polled at all.  A new watch on the same fd replaces the old one.
  // Watches may change from inside any callback.
  void Watch(int fd, unsigned events, WatchFn fn);
  void SetEvents(int fd, unsigned events);
  void Unwatch(int fd);

  // Runs fn on the loop after the events at hand, before waiting again (in
  // a nested RunUntil too, in order).
  void Defer(std::function<void()> fn);

  // One round: waits at most max_wait_ms (less when a timer falls due; -1:
  // no limit) and dispatches what is ready.
  void RunOnce(int max_wait_ms);
  // Rounds until Quit().
  void Run();
  void Quit() { quit_ = true; }
  // Rounds until done() holds or timeout_ms has passed; returns done().
  bool RunUntil(const std::function<bool()>& done, int timeout_ms);

  Id Start(int ms, bool repeat, std::function<void()> fire) override;
  void Cancel(Id id) override;
  LocalTime Now() override;

 private:
  using Clock = std::chrono::steady_clock;
  struct WatchEntry {
    unsigned events;
    WatchFn fn;
  };
  struct Timer {
    Clock::time_point due;
    int interval;
    bool repeat;
    std::function<void()> fire;
  };

  int WaitMs(int max_wait_ms) const;
  void DispatchFds(int wait_ms);
  void FireTimers();
  void RunDeferred();

  std::unordered_map<int, std::shared_ptr<WatchEntry>> watches_;
  std::map<Id, Timer> timers_;
  Id next_timer_ = 1;
  DeferredCalls deferred_;
  std::vector<pollfd> fds_scratch_;
  std::vector<std::shared_ptr<WatchEntry>> entries_scratch_;
  bool quit_ = false;
};

}  // namespace tellu
