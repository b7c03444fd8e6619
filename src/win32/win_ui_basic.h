// The message-box part of the Ui port on Windows: notices, the Yes/No
// question, the beep and the caption flash.  The input bar derives from it
// for the rest of the port.
#pragma once
#include <windows.h>

#include <deque>
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

  // The box opens from the loop, after the event at hand (a notice raised
  // while the relay reads must not run a message loop inside that read).
  void Notice(const std::string& text, const std::string& caption, NoticeIcon icon) override;
  // Shows at once, in order, the notices still waiting: before the bar ends,
  // when the loop will not come round again.
  void ShowPendingNotices();
  // The box opens from the loop, without an owner, so the caller goes on
  // first; the answer follows when the box closes.  Sockets and timers keep
  // running meanwhile.
  void Ask(const std::string& text, const std::string& caption,
           std::function<void(bool yes)> answer) override;
  void Beep(BeepKind kind) override;
  using Ui::Beep;
  void Flash(bool on) override;

 protected:
  MessageWindow& window_;
  HWND owner_ = nullptr;

 private:
  struct Note {
    std::wstring text, caption;
    UINT style = 0;
    HWND owner = nullptr;
    bool shown = false;
  };
  static void Show(Note& note);
  // Raised and not yet shown, oldest first.
  std::deque<std::shared_ptr<Note>> pending_;
};

}  // namespace tellu
