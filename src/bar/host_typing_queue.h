// Attach-mode deliveries in turn: each runs its message steps into the host,
// the pauses between characters taken by a timer, the next delivery waiting
// until the one before has finished.
#pragma once
#include <deque>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "bar/host_typing_model.h"
#include "platform/timers.h"

namespace tellu {

// What carries the steps to the host's window.
class HostSender {
 public:
  virtual ~HostSender() = default;
  // The host window is still the one found at start-up; also refreshes
  // its rectangle for cursor steps.
  virtual bool Confirm() = 0;
  // Carries out a step other than a pause.
  virtual void Perform(const HostStep& step) = 0;
};

class HostTypingQueue {
 public:
  // host_lost is called when a delivery finds the host window gone; every
  // waiting delivery is dropped then.
  HostTypingQueue(Timers& timers, HostSender& sender, std::function<void()> host_lost);
  ~HostTypingQueue();
  HostTypingQueue(const HostTypingQueue&) = delete;
  HostTypingQueue& operator=(const HostTypingQueue&) = delete;

  // done runs once the delivery's last step has been carried out (the bar
  // takes the keyboard focus back then).
  void Type(std::string_view text, std::function<void()> done = {});
  void Click(int x, int y, std::function<void()> done = {});
  // A delivery is running or waiting.
  bool busy() const { return !jobs_.empty(); }

 private:
  struct Job {
    std::vector<HostStep> steps;
    std::function<void()> done;
    size_t next = 0;
    bool confirmed = false;
  };
  void Add(std::vector<HostStep> steps, std::function<void()> done);
  void Run();

  Timers& timers_;
  HostSender& sender_;
  std::function<void()> host_lost_;
  std::deque<Job> jobs_;
  Timers::Id timer_ = 0;
  bool running_ = false;
  // Cleared on destruction: a done callback may destroy the queue.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace tellu
