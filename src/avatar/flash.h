// The attention flash: the bar's caption blinks while avatar requests wait
// for an answer, every 200 ms on a four-tick cycle.
#pragma once
#include "platform/timers.h"
#include "platform/ui.h"

namespace tellu {

class AttentionFlash {
 public:
  static constexpr int kTickMs = 200;

  AttentionFlash(Timers& timers, Ui& ui) : timers_(timers), ui_(ui) {}
  ~AttentionFlash();
  AttentionFlash(const AttentionFlash&) = delete;
  AttentionFlash& operator=(const AttentionFlash&) = delete;

  // One more request pending; the timer starts if it is not running.
  void Start();
  // One request answered.  The flash ends at the next tick once none is left.
  void Stop();

  int requests() const { return requests_; }
  bool running() const { return timer_ != 0; }

 private:
  void Tick();

  Timers& timers_;
  Ui& ui_;
  int requests_ = 0;
  Timers::Id timer_ = 0;
  int phase_ = 0;  // 0..3
};

}  // namespace tellu
