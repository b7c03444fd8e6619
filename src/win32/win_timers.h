// The Timers port on Windows: SetTimer on the message window, the local
// clock from GetLocalTime.
#pragma once
#include <map>

#include "platform/timers.h"
#include "win32/message_window.h"

namespace tellu {

// Ticks come as WM_TIMER, so they keep coming inside a message box's or a
// modal dialog's loop.  The message window must outlive this object.
class WinTimers : public Timers {
 public:
  explicit WinTimers(MessageWindow& window) : window_(window) {}
  ~WinTimers() override;
  WinTimers(const WinTimers&) = delete;
  WinTimers& operator=(const WinTimers&) = delete;

  Id Start(int ms, bool repeat, std::function<void()> fire) override;
  void Cancel(Id id) override;
  LocalTime Now() override;

 private:
  MessageWindow& window_;
  std::map<Id, UINT_PTR> live_;  // port id -> window timer
  Id next_ = 1;
};

}  // namespace tellu
