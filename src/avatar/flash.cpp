#include "avatar/flash.h"

namespace tellu {

AttentionFlash::~AttentionFlash() {
  if (timer_ != 0) timers_.Cancel(timer_);
}

void AttentionFlash::Start() {
  ++requests_;
  if (timer_ == 0) timer_ = timers_.Start(kTickMs, true, [this] { Tick(); });
}

void AttentionFlash::Stop() {
  if (requests_ > 0) --requests_;
}

void AttentionFlash::Tick() {
  phase_ = (phase_ + 1) % 4;
  ui_.Flash(phase_ == 0);
  if (requests_ != 0) return;
  timers_.Cancel(timer_);
  timer_ = 0;
  ui_.Flash(false);
}

}  // namespace tellu
