// Signals as events on the loop: the handler only writes the signal's
// number into a pipe that the loop watches, so the work runs in the loop's
// own time like any other event.
#pragma once
#include <functional>
#include <initializer_list>

#include "posix/posix_loop.h"

namespace tellu {

class SignalEvents {
 public:
  using SignalFn = std::function<void(int signal)>;
  // One object per process.  The loop must outlive it.
  SignalEvents(PosixLoop& loop, SignalFn on_signal);
  ~SignalEvents();
  SignalEvents(const SignalEvents&) = delete;
  SignalEvents& operator=(const SignalEvents&) = delete;

  // Catches these signals from now on; false when the pipe could not be made.
  bool Catch(std::initializer_list<int> signals);

 private:
  void Drain();

  PosixLoop& loop_;
  SignalFn on_signal_;
  int read_fd_ = -1;
  int write_fd_ = -1;
};

}  // namespace tellu
