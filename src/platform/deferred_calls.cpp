#include "platform/deferred_calls.h"

#include <utility>

namespace tellu {

void DeferredCalls::Push(std::function<void()> fn) { queue_.push_back({next_++, std::move(fn)}); }

void DeferredCalls::RunRound(const std::function<void()>& again) {
  const uint64_t end = next_;
  // Taken from the queue one at a time: a nested round takes up the rest.
  while (!queue_.empty() && queue_.front().number < end) {
    std::function<void()> fn = std::move(queue_.front().fn);
    queue_.pop_front();
    if (!queue_.empty() && again) again();
    fn();
  }
}

}  // namespace tellu
