// Attach-mode delivery on Windows: carries the typing steps into the host's
// window (sent and posted messages, the mouse cursor).
#pragma once
#include <windows.h>

#include <string>

#include "bar/host_typing_queue.h"

namespace tellu {

class WinHostSender : public HostSender {
 public:
  // The host window found at start-up, the caption it was given, and the
  // caption height that places a click in its client area.
  void SetHost(HWND host, std::string tagged_title, int caption_height);
  HWND host() const { return host_; }
  // The host window's rectangle as the last Confirm read it.
  const RECT& host_rect() const { return rect_; }

  bool Confirm() override;
  void Perform(const HostStep& step) override;

 private:
  HWND host_ = nullptr;
  std::string title_;
  int caption_height_ = 0;
  RECT rect_{};
  POINT saved_cursor_{};
};

}  // namespace tellu
