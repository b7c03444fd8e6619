#include "win32/win_console_loop.h"

#include <utility>

namespace tellu {
namespace {

// A thread message: it needs no window, so the handler's thread may post it
// at any moment the loop's thread has a queue.
constexpr UINT kInterrupt = WM_APP + 0x40;

DWORD g_loop_thread = 0;
// Set when the run is over and the configuration is back.
HANDLE g_finished = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD event) {
  // Runs on a thread of its own: it only tells the loop.
  PostThreadMessageW(g_loop_thread, kInterrupt, event, 0);
  // On these the system ends the process as soon as the handler returns,
  // so the handler waits for the orderly end, within the system's grace.
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
    WaitForSingleObject(g_finished, 4000);
  return TRUE;
}

}  // namespace

WinConsoleLoop::WinConsoleLoop() {
  // The window gave this thread its message queue, which the handler posts to.
  g_loop_thread = GetCurrentThreadId();
  g_finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

WinConsoleLoop::~WinConsoleLoop() {
  if (g_finished) SetEvent(g_finished);
  SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
}

void WinConsoleLoop::WatchHandle(HANDLE handle, std::function<void()> ready) {
  watched_ = handle;
  ready_ = handle ? std::move(ready) : nullptr;
}

void WinConsoleLoop::Run() {
  quit_ = false;
  while (!quit_) {
    const DWORD count = watched_ ? 1 : 0;
    const DWORD result = MsgWaitForMultipleObjectsEx(count, count ? &watched_ : nullptr, INFINITE,
                                                     QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    // A handle that cannot be waited on is reported as ready: its reader
    // finds the fault and ends the watch.
    if (count && (result == WAIT_OBJECT_0 || result == WAIT_FAILED)) {
      auto ready = ready_;  // the callback may end the watch
      ready();
    }
    Dispatch();
  }
}

void WinConsoleLoop::Dispatch() {
  MSG msg;
  while (!quit_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT || (msg.hwnd == nullptr && msg.message == kInterrupt)) {
      quit_ = true;
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace tellu
