// The message-box part of the Ui port on Windows: notices, the Yes/No
// question, the beep and the caption flash.  The input bar derives from it
// for the rest of the port.
#pragma once
#include <windows.h>

#include "platform/ui.h"
#include "win32/message_window.h"

namespace tellu {

class WinUiBasic : public Ui {
 public:
  explicit WinUiBasic(MessageWindow& window) : window_(window) {}

  // The owner of the notices and the window that flashes (the input bar).
  void SetOwner(HWND owner) { owner_ = owner; }
  HWND owner() const { return owner_; }

  void Notice(const std::string& text, const std::string& caption, NoticeIcon icon) override;
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
};

}  // namespace tellu
