#include "posix/line_input.h"

#include <unistd.h>

#include <cerrno>

namespace tellu {

LineInput::LineInput(PosixLoop& loop, int fd, std::function<void(const std::string&)> on_line,
                     std::function<void()> on_end)
    : loop_(loop), fd_(fd), on_line_(std::move(on_line)), on_end_(std::move(on_end)) {
  loop_.Watch(fd_, PosixLoop::kRead, [this](unsigned) { Readable(); });
}

LineInput::~LineInput() {
  if (open_) loop_.Unwatch(fd_);
}

void LineInput::Readable() {
  char buffer[4096];
  const ssize_t n = read(fd_, buffer, sizeof buffer);
  if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
  if (n <= 0) {
    End();
    return;
  }
  pending_.append(buffer, static_cast<size_t>(n));
  size_t start = 0;
  for (size_t end; open_ && (end = pending_.find('\n', start)) != std::string::npos;
       start = end + 1)
    Emit(pending_.substr(start, end - start));
  pending_.erase(0, start);
  if (open_ && pending_.size() >= kMaxLine) {
    Emit(std::move(pending_));
    pending_.clear();
  }
}

void LineInput::Emit(std::string line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  on_line_(line);
}

void LineInput::End() {
  open_ = false;
  loop_.Unwatch(fd_);
  if (!pending_.empty()) Emit(std::move(pending_));
  pending_.clear();
  if (on_end_) on_end_();
}

}  // namespace tellu
