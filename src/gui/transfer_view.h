// The progress window of one avatar transfer (dialog 115): the core's
// ProgressView, ended with its cancel button only.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/ui.h"
#include "win32/message_window.h"
#include "win32/window.h"

namespace tellu {

class TransferView : public ProgressView, private Dialog {
 public:
  // Opens the window shown and active, texts empty; nullptr when it cannot
  // be made.  cancel runs from the loop after the button was pressed.
  static std::unique_ptr<TransferView> Open(HWND owner, MessageWindow& loop,
                                            std::function<void()> cancel);
  ~TransferView() override;

  void SetTexts(const std::string& title, const std::string& message) override;
  void SetShare(const std::string& share, int bar, const std::string& face) override;
  void Close() override;

  HWND Window() const { return hwnd(); }

 private:
  TransferView(MessageWindow& loop, std::function<void()> cancel);
  BOOL OnInitDialog() override;
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  MessageWindow& loop_;
  std::function<void()> cancel_;
  // Cleared when the view goes, so a cancel still waiting in the loop is dropped.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  bool cancel_queued_ = false;
  HFONT face_font_ = nullptr;
};

}  // namespace tellu
