// Standard input on the Windows loop, never blocking it: a console is read
// record by record whenever its handle is signalled; a pipe or a file is
// polled from a 50 ms timer (PeekNamedPipe says what can be read at once).
// A pipe that cannot be peeked (under Wine, one made by a Unix shell) is
// read by a thread that does nothing else: it hands the bytes over under a
// lock and signals an event the loop waits on.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "win32/win_console_loop.h"
#include "win32/win_input_lines.h"

namespace tellu {

class WinStdin {
 public:
  using LineFn = std::function<void(const TypedLine& line)>;
  using EndFn = std::function<void()>;

  // Lines come without their line end; end is told once.  Not to be
  // destroyed from inside these callbacks.  The loop must outlive this.
  WinStdin(WinConsoleLoop& loop, LineFn on_line, EndFn on_end);
  ~WinStdin();
  WinStdin(const WinStdin&) = delete;
  WinStdin& operator=(const WinStdin&) = delete;

 private:
  static constexpr UINT kPollMs = 50;
  struct Handoff;

  void ReadConsoleKeys();
  void Poll();
  bool StartReader();
  void TakeHandoff();
  void Deliver(const InputLines& got);
  void End();

  WinConsoleLoop& loop_;
  LineFn on_line_;
  EndFn on_end_;
  HANDLE input_;
  HANDLE echo_ = INVALID_HANDLE_VALUE;
  bool console_ = false;
  bool pipe_ = false;
  UINT_PTR timer_ = 0;
  // Shared with the reader thread, which may outlive this object while it
  // waits in ReadFile.
  std::shared_ptr<Handoff> handoff_;
  bool open_ = true;
  ConsoleLineEditor editor_;
  PipeLines pipe_lines_;
};

}  // namespace tellu
