#include "win32/message_window.h"

#include <utility>

namespace tellu {
namespace {

constexpr UINT kDeferredMessage = WM_APP + 1;
// Each socket gets its own message number from this range, so a
// notification still queued for a closed socket cannot reach a new one
// that was given the same handle.
constexpr UINT kFirstSocketMessage = WM_APP + 0x100;
constexpr UINT kLastSocketMessage = 0xBFFF;

}  // namespace

MessageWindow::MessageWindow() : next_socket_message_(kFirstSocketMessage) {
  Window::Class window_class{};
  window_class.name = L"TelluMessageWindow";
  Create(window_class, L"", 0, 0, 0, 0, 0, 0, HWND_MESSAGE);
}

MessageWindow::~MessageWindow() {
  for (const auto& timer : timers_) ::KillTimer(hwnd(), timer.first);
}

UINT MessageWindow::WatchSocket(SocketFn fn) {
  const UINT count = kLastSocketMessage - kFirstSocketMessage + 1;
  for (UINT tried = 0; tried < count; ++tried) {
    const UINT message = next_socket_message_;
    next_socket_message_ =
        message == kLastSocketMessage ? kFirstSocketMessage : message + 1;
    if (sockets_.count(message)) continue;
    sockets_[message] = std::make_shared<SocketFn>(std::move(fn));
    return message;
  }
  return 0;
}

void MessageWindow::Unwatch(UINT message) { sockets_.erase(message); }

UINT_PTR MessageWindow::StartTimer(UINT ms, std::function<void()> fire) {
  UINT_PTR id = next_timer_++;
  if (next_timer_ == 0) next_timer_ = 1;
  if (!SetTimer(hwnd(), id, ms, nullptr)) return 0;
  auto timer = std::make_shared<Timer>();
  timer->fire = std::move(fire);
  timers_[id] = std::move(timer);
  return id;
}

void MessageWindow::KillTimer(UINT_PTR id) {
  if (timers_.erase(id)) ::KillTimer(hwnd(), id);
}

void MessageWindow::Defer(std::function<void()> fn) {
  deferred_.Push(std::move(fn));
  PostDeferred();
}

void MessageWindow::PostDeferred() {
  if (!deferred_posted_ && PostMessageW(hwnd(), kDeferredMessage, 0, 0)) deferred_posted_ = true;
}

void MessageWindow::RunDeferred() {
  deferred_posted_ = false;
  // A call that opens a box runs the box's loop: the message posted before
  // it lets that loop run the calls behind it.
  deferred_.RunRound([this] { PostDeferred(); });
  if (!deferred_.empty()) PostDeferred();
}

LRESULT MessageWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kDeferredMessage) {
    RunDeferred();
    return 0;
  }
  if (message == WM_TIMER) {
    auto it = timers_.find(wparam);
    if (it == timers_.end()) return 0;
    // Held here: the timer may be killed while it fires.
    std::shared_ptr<Timer> timer = it->second;
    if (timer->firing) return 0;
    timer->firing = true;
    timer->fire();
    timer->firing = false;
    return 0;
  }
  if (message >= kFirstSocketMessage && message <= kLastSocketMessage) {
    auto it = sockets_.find(message);
    if (it == sockets_.end()) return 0;
    std::shared_ptr<SocketFn> fn = it->second;
    (*fn)(wparam, lparam);
    return 0;
  }
  return Window::HandleMessage(message, wparam, lparam);
}

bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeout_ms) {
  if (done()) return true;
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return done();
      }
      if (!Dialog::PreTranslate(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      if (done()) return true;
    }
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeout_ms) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, timeout_ms - elapsed, QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

}  // namespace tellu
