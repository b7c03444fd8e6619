#include "gui/host_typing.h"

#include <utility>

#include "gui/host_window.h"

namespace tellu {

static_assert(hostmsg::kActivate == WM_ACTIVATE && hostmsg::kSetFocus == WM_SETFOCUS &&
              hostmsg::kActivateApp == WM_ACTIVATEAPP && hostmsg::kSetCursor == WM_SETCURSOR &&
              hostmsg::kMouseActivate == WM_MOUSEACTIVATE &&
              hostmsg::kNcActivate == WM_NCACTIVATE && hostmsg::kKeyDown == WM_KEYDOWN &&
              hostmsg::kKeyUp == WM_KEYUP && hostmsg::kChar == WM_CHAR &&
              hostmsg::kMouseMove == WM_MOUSEMOVE && hostmsg::kLButtonDown == WM_LBUTTONDOWN &&
              hostmsg::kLButtonUp == WM_LBUTTONUP &&
              hostmsg::kImeSetContext == WM_IME_SETCONTEXT &&
              hostmsg::kImeNotify == WM_IME_NOTIFY);

namespace {

// A host that has stopped answering must not freeze the bar for good.
constexpr UINT kSendTimeoutMs = 5000;

}  // namespace

void WinHostSender::SetHost(HWND host, std::string tagged_title, int caption_height) {
  host_ = host;
  title_ = std::move(tagged_title);
  caption_height_ = caption_height;
}

bool WinHostSender::Confirm() {
  if (!RecheckHostWindow(title_, host_)) return false;
  GetWindowRect(host_, &rect_);
  return true;
}

void WinHostSender::Perform(const HostStep& step) {
  const WPARAM wparam =
      step.wparam_is_window ? reinterpret_cast<WPARAM>(host_) : static_cast<WPARAM>(step.wparam);
  // Zero-extended, as a 32-bit host reads it.
  const LPARAM lparam = static_cast<LPARAM>(step.lparam);
  switch (step.kind) {
    case HostStep::Kind::Send: {
      DWORD_PTR ignored;
      SendMessageTimeoutW(host_, step.message, wparam, lparam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                          kSendTimeoutMs, &ignored);
      break;
    }
    case HostStep::Kind::Post:
      // The A call: character messages carry Shift-JIS bytes, a double-byte
      // character as its two bytes, as the host's own keyboard input would.
      PostMessageA(host_, step.message, wparam, lparam);
      break;
    case HostStep::Kind::SaveCursor:
      GetCursorPos(&saved_cursor_);
      break;
    case HostStep::Kind::CursorTo:
      SetCursorPos(rect_.left + step.x, rect_.top + caption_height_ + step.y);
      break;
    case HostStep::Kind::RestoreCursor:
      SetCursorPos(saved_cursor_.x, saved_cursor_.y);
      break;
    case HostStep::Kind::Pause:
      break;  // the queue's timer
  }
}

}  // namespace tellu
