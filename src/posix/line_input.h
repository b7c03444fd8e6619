// Standard input as lines on the loop.  The descriptor is left blocking (a
// terminal shared with other programs must stay as it was): one read per
// readiness report never waits.
#pragma once
#include <functional>
#include <string>

#include "posix/posix_loop.h"

namespace tellu {

class LineInput {
 public:
  // A line comes without its LF (and a CR before it); end is told once,
  // after a last line without LF.
  LineInput(PosixLoop& loop, int fd, std::function<void(const std::string& line)> on_line,
            std::function<void()> on_end);
  ~LineInput();
  LineInput(const LineInput&) = delete;
  LineInput& operator=(const LineInput&) = delete;

  bool open() const { return open_; }

 private:
  // A line longer than this is taken as it is, so no input can grow the
  // buffer without end.
  static constexpr size_t kMaxLine = 64 * 1024;
  void Readable();
  void Emit(std::string line);
  void End();

  PosixLoop& loop_;
  int fd_;
  std::function<void(const std::string&)> on_line_;
  std::function<void()> on_end_;
  std::string pending_;
  bool open_ = true;
};

}  // namespace tellu
