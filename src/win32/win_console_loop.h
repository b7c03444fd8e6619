// tellu-cli's one thread on Windows: the messages of the hidden message
// window (sockets, timers, deferred calls), one handle waited on beside
// them, and Ctrl+C, Ctrl+Break or the console's closing as the end of Run.
#pragma once
#include <windows.h>

#include <functional>

#include "win32/message_window.h"

namespace tellu {

// One per process: the console's control handler is the process's.
class WinConsoleLoop {
 public:
  WinConsoleLoop();
  // The run is over: a console that is closing may end the process now.
  ~WinConsoleLoop();
  WinConsoleLoop(const WinConsoleLoop&) = delete;
  WinConsoleLoop& operator=(const WinConsoleLoop&) = delete;

  bool ok() const { return window_.ok(); }
  MessageWindow& window() { return window_; }

  // While set, ready runs on the loop whenever the handle is signalled.
  // One handle at a time; nullptr stops the watch.
  void WatchHandle(HANDLE handle, std::function<void()> ready);

  // Until Quit, an interruption, or WM_QUIT.
  void Run();
  void Quit() { quit_ = true; }
  bool quitting() const { return quit_; }

 private:
  void Dispatch();

  MessageWindow window_;
  HANDLE watched_ = nullptr;
  std::function<void()> ready_;
  bool quit_ = false;
};

}  // namespace tellu
