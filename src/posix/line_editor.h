// Standard input on a terminal: an editable input line (libedit) that stays
// below the other output, with a history of this run's lines.
#pragma once
#include <functional>
#include <string>

#include "posix/posix_loop.h"

namespace tellu {

class LineEditor {
 public:
  // Lines and the end as LineInput gives them.  One editor at a time: the
  // library keeps its state in globals.
  LineEditor(PosixLoop& loop, int fd, std::function<void(const std::string& line)> on_line,
             std::function<void()> on_end);
  ~LineEditor();
  LineEditor(const LineEditor&) = delete;
  LineEditor& operator=(const LineEditor&) = delete;

  // Output is written between these two: the first gives the bytes that
  // take the half-typed line off the screen, the second draws it again.
  std::string Hide();
  void Show();

 private:
  void Readable(unsigned ready);
  static void OnLine(char* line);
  void End();

  PosixLoop& loop_;
  int fd_;
  std::function<void(const std::string&)> on_line_;
  std::function<void()> on_end_;
  bool open_ = true;
  bool hidden_ = false;
  bool in_library_ = false;
  bool line_done_ = false;
};

}  // namespace tellu
