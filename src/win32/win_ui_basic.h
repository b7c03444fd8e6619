// The message-box part of the Ui port on Windows: notices, the Yes/No
// question, the beep and the caption flash.  The input bar derives from it
// for the rest of the port.
#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "platform/ui.h"
#include "win32/message_window.h"

namespace tellu {

class WinUiBasic : public Ui {
 public:
  explicit WinUiBasic(MessageWindow& window) : window_(window) {}

  // The owner of the notices and the window that flashes (the input bar).
  void SetOwner(HWND owner) { owner_ = owner; }
  HWND owner() const { return owner_; }

  // The boxes open from the loop, after the event at hand (a box raised
  // while the relay reads must not run a message loop inside that read), one
  // at a time and in the order raised: a box waits while another is open.
  // Sockets, timers and deferred calls keep running while one is open.
  void Notice(const std::string& text, const std::string& caption, NoticeIcon icon) override;
  // Shows at once, in order, the notices still waiting: before the bar ends,
  // when the loop will not come round again.
  void ShowPendingNotices();
  // Without an owner, so the caller goes on first; the answer follows when
  // the box closes.
  void Ask(const std::string& text, const std::string& caption,
           std::function<void(bool yes)> answer) override;
  void Beep(BeepKind kind) override;
  using Ui::Beep;
  void Flash(bool on) override;

 protected:
  MessageWindow& window_;
  HWND owner_ = nullptr;

 private:
  struct Box {
    std::wstring text, caption;
    UINT style = 0;
    HWND owner = nullptr;
    bool question = false;
    std::function<void(bool yes)> answer;
  };
  void Raise(Box box);
  void ShowWaiting();
  static int Show(const Box& box);
  // Raised and not yet shown, oldest first.
  std::deque<Box> waiting_;
  bool showing_ = false;
  // The deferred calls outlive a Ui that goes first.
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace tellu
