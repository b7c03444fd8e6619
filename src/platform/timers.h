// Timers port: one-shot and repeating timers on the event loop, and the local
// clock.  Nothing in the core sleeps; a pause is a timer.
#pragma once
#include <cstdint>
#include <functional>

namespace tellu {

struct LocalTime {
  int year = 0, month = 0, day = 0;  // month and day from 1
  int hour = 0, minute = 0, second = 0;
};

class Timers {
 public:
  using Id = uint64_t;  // 0 is never a valid id
  virtual ~Timers() = default;
  // Calls fire after ms milliseconds, and again every ms while repeat is set,
  // until cancelled.  A timer may cancel itself or start others from fire.
  virtual Id Start(int ms, bool repeat, std::function<void()> fire) = 0;
  virtual void Cancel(Id id) = 0;
  virtual LocalTime Now() = 0;
};

}  // namespace tellu
