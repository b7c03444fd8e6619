#include "bar/host_typing_queue.h"

#include <memory>
#include <utility>

namespace tellu {

HostTypingQueue::HostTypingQueue(Timers& timers, HostSender& sender,
                                 std::function<void()> host_lost)
    : timers_(timers), sender_(sender), host_lost_(std::move(host_lost)) {}

HostTypingQueue::~HostTypingQueue() {
  if (timer_) timers_.Cancel(timer_);
  *alive_ = false;
}

void HostTypingQueue::Type(std::string_view text, std::function<void()> done) {
  Add(TypingSteps(text), std::move(done));
}

void HostTypingQueue::Click(int x, int y, std::function<void()> done) {
  Add(ClickSteps(x, y), std::move(done));
}

void HostTypingQueue::Add(std::vector<HostStep> steps, std::function<void()> done) {
  jobs_.push_back({std::move(steps), std::move(done)});
  Run();
}

void HostTypingQueue::Run() {
  // A delivery asked for from a callback below joins the queue; the loop
  // here takes it in turn.
  if (running_ || timer_) return;
  running_ = true;
  std::shared_ptr<bool> alive = alive_;
  while (!jobs_.empty()) {
    Job& job = jobs_.front();  // a deque keeps it in place while jobs are added
    if (!job.confirmed) {
      if (!sender_.Confirm()) {
        jobs_.clear();
        running_ = false;
        if (host_lost_) host_lost_();
        return;
      }
      job.confirmed = true;
    }
    while (job.next < job.steps.size()) {
      const HostStep& step = job.steps[job.next++];
      if (step.kind == HostStep::Kind::Pause) {
        timer_ = timers_.Start(step.ms, false, [this] {
          timer_ = 0;
          Run();
        });
        running_ = false;
        return;
      }
      sender_.Perform(step);
    }
    std::function<void()> done = std::move(job.done);
    jobs_.pop_front();
    if (done) {
      done();
      if (!*alive) return;
    }
  }
  running_ = false;
}

}  // namespace tellu
