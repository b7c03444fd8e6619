#include "win32/win_ui_basic.h"

#include <utility>

#include "win32/wide_text.h"

namespace tellu {
namespace {

UINT IconStyle(NoticeIcon icon) {
  switch (icon) {
    case NoticeIcon::Information: return MB_ICONINFORMATION;
    case NoticeIcon::Exclamation: return MB_ICONEXCLAMATION;
    case NoticeIcon::Stop: return MB_ICONSTOP;
    case NoticeIcon::None: break;
  }
  return 0;
}

}  // namespace

void WinUiBasic::Notice(const std::string& text, const std::string& caption, NoticeIcon icon) {
  MessageBoxW(owner_, Wide(text).c_str(), Wide(caption).c_str(), MB_OK | IconStyle(icon));
}

void WinUiBasic::Ask(const std::string& text, const std::string& caption,
                     std::function<void(bool yes)> answer) {
  window_.Defer([text = Wide(text), caption = Wide(caption), answer = std::move(answer)] {
    const int pressed =
        MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION);
    if (answer) answer(pressed == IDYES);
  });
}

void WinUiBasic::Beep(BeepKind kind) {
  MessageBeep(kind == BeepKind::Asterisk ? MB_ICONASTERISK : MB_ICONHAND);
}

void WinUiBasic::Flash(bool on) {
  if (owner_) FlashWindow(owner_, on ? TRUE : FALSE);
}

}  // namespace tellu
