#include "posix/line_editor.h"

#include <editline/readline.h>
#include <sys/ioctl.h>

#include <clocale>
#include <cstdlib>

namespace tellu {
namespace {

LineEditor* editor = nullptr;
constexpr char kPrompt[] = "> ";

}  // namespace

LineEditor::LineEditor(PosixLoop& loop, int fd, std::function<void(const std::string&)> on_line,
                       std::function<void()> on_end)
    : loop_(loop), fd_(fd), on_line_(std::move(on_line)), on_end_(std::move(on_end)) {
  editor = this;
  // Characters are edited as the terminal's encoding has them (UTF-8,
  // double-width included) only with the user's character type.
  std::setlocale(LC_CTYPE, "");
  // Ctrl+C and the window size stay with the program's own handlers.
  rl_catch_signals = 0;
  rl_catch_sigwinch = 0;
  rl_callback_handler_install(kPrompt, &LineEditor::OnLine);
  loop_.Watch(fd_, PosixLoop::kRead, [this](unsigned ready) { Readable(ready); });
}

void LineEditor::Readable(unsigned ready) {
  // A terminal that hung up stays readable with nothing to read, and the
  // library then reports no line at all.
  int waiting = 0;
  if ((ready & PosixLoop::kError) || ioctl(fd_, FIONREAD, &waiting) != 0 || waiting == 0) {
    End();
    return;
  }
  in_library_ = true;
  line_done_ = false;
  rl_callback_read_char();
  in_library_ = false;
  // Not from inside the library: after a line it sets the terminal up
  // again, and an end there would leave it raw.
  if (!open_) {
    rl_callback_handler_remove();
  } else if (line_done_) {
    // After a line the library leaves the terminal cooked and the old line
    // in its buffer; starting afresh gives raw keys and an empty line.
    rl_callback_handler_remove();
    rl_callback_handler_install(kPrompt, &LineEditor::OnLine);
  }
}

LineEditor::~LineEditor() {
  if (open_) {
    loop_.Unwatch(fd_);
    rl_callback_handler_remove();
  }
  editor = nullptr;
}

void LineEditor::OnLine(char* line) {
  if (!editor) {
    std::free(line);
    return;
  }
  if (!line) {
    editor->End();
    return;
  }
  const std::string text(line);
  std::free(line);
  editor->line_done_ = true;
  if (!text.empty()) add_history(text.c_str());
  editor->on_line_(text);
}

void LineEditor::End() {
  open_ = false;
  loop_.Unwatch(fd_);
  if (!in_library_) rl_callback_handler_remove();
  if (on_end_) on_end_();
}

std::string LineEditor::Hide() {
  if (!open_ || hidden_) return "";
  hidden_ = true;
  return "\r\x1b[K";
}

void LineEditor::Show() {
  if (!open_ || !hidden_) return;
  hidden_ = false;
  // Inside the library (after Enter) it draws the new line itself.
  if (!in_library_) rl_forced_update_display();
}

}  // namespace tellu
