#include "posix/signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace tellu {
namespace {

volatile sig_atomic_t g_write_fd = -1;

void OnSignal(int signal) {
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(signal);
  if (g_write_fd >= 0) {
    ssize_t ignored = write(g_write_fd, &byte, 1);
    (void)ignored;
  }
  errno = saved;
}

std::vector<int>& Caught() {
  static std::vector<int> caught;
  return caught;
}

}  // namespace

SignalEvents::SignalEvents(PosixLoop& loop, SignalFn on_signal)
    : loop_(loop), on_signal_(std::move(on_signal)) {}

SignalEvents::~SignalEvents() {
  for (int s : Caught()) signal(s, SIG_DFL);
  Caught().clear();
  g_write_fd = -1;
  if (read_fd_ >= 0) {
    loop_.Unwatch(read_fd_);
    close(read_fd_);
    close(write_fd_);
  }
}

bool SignalEvents::Catch(std::initializer_list<int> signals) {
  if (read_fd_ < 0) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    read_fd_ = fds[0];
    write_fd_ = fds[1];
    g_write_fd = write_fd_;
    loop_.Watch(read_fd_, PosixLoop::kRead, [this](unsigned) { Drain(); });
  }
  for (int s : signals) {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(s, &action, nullptr);
    Caught().push_back(s);
  }
  return true;
}

void SignalEvents::Drain() {
  unsigned char bytes[64];
  for (;;) {
    const ssize_t n = read(read_fd_, bytes, sizeof bytes);
    if (n <= 0) return;
    for (ssize_t i = 0; i < n; ++i) on_signal_(bytes[i]);
  }
}

}  // namespace tellu
