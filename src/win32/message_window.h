// The hidden message-only window that brings socket notifications, timers
// and deferred calls to the core on the user-interface thread.
#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <memory>

#include "platform/deferred_calls.h"
#include "win32/window.h"

namespace tellu {

class MessageWindow : public Window {
 public:
  // lparam carries the event and the error as WSAAsyncSelect posts them.
  using SocketFn = std::function<void(WPARAM socket, LPARAM event)>;

  MessageWindow();
  ~MessageWindow() override;
  bool ok() const { return hwnd() != nullptr; }

  // A window message of its own for one socket's notifications (give it
  // to WSAAsyncSelect), 0 when none is free.  A message left in the queue
  // after Unwatch is dropped.
  UINT WatchSocket(SocketFn fn);
  void Unwatch(UINT message);

  // SetTimer on this window; fire runs on every tick until KillTimer, and
  // is not run again while it is still running (a message box it opens
  // keeps the loop going).
  UINT_PTR StartTimer(UINT ms, std::function<void()> fire);
  void KillTimer(UINT_PTR id);

  // Runs fn from the message loop, after the message at hand, in order with
  // the other deferred calls, also inside a modal loop that one of them runs.
  void Defer(std::function<void()> fn);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  struct Timer {
    std::function<void()> fire;
    bool firing = false;
  };
  void RunDeferred();
  void PostDeferred();

  std::map<UINT, std::shared_ptr<SocketFn>> sockets_;
  UINT next_socket_message_;
  std::map<UINT_PTR, std::shared_ptr<Timer>> timers_;
  UINT_PTR next_timer_ = 1;
  DeferredCalls deferred_;
  bool deferred_posted_ = false;
};

// Runs the thread's messages until done() holds or timeout_ms has passed
// (the messages already waiting are run even with 0); returns done().  A
// WM_QUIT met on the way is put back and ends the wait.
bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeout_ms);

}  // namespace tellu
