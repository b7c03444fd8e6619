// Standard input on the Windows loop, never blocking it: a console is read
// record by record whenever its handle is signalled; a pipe or a file is
// polled from a 50 ms timer (PeekNamedPipe says what can be read at once).
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "console/win_console_loop.h"
#include "console/win_input_lines.h"

namespace tellu {

class WinStdin {
 public:
  using LineFn = std::function<void(const std::string& sjis)>;
  using EndFn = std::function<void()>;

  // Lines come without their line end; end is told once.  Not to be
  // destroyed from inside these callbacks.  The loop must outlive this.
  WinStdin(WinConsoleLoop& loop, LineFn on_line, EndFn on_end);
  ~WinStdin();
  WinStdin(const WinStdin&) = delete;
  WinStdin& operator=(const WinStdin&) = delete;

 private:
  static constexpr UINT kPollMs = 50;

  void ReadConsoleKeys();
  void Poll();
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
  bool open_ = true;
  ConsoleLineEditor editor_;
  PipeLines pipe_lines_;
};

}  // namespace tellu
