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

int WinUiBasic::Show(const Box& box) {
  HWND owner = box.owner && IsWindow(box.owner) ? box.owner : nullptr;
  return MessageBoxW(owner, box.text.c_str(), box.caption.c_str(), box.style);
}

void WinUiBasic::Raise(Box box) {
  waiting_.push_back(std::move(box));
  window_.Defer([this, alive = std::weak_ptr<int>(alive_)] {
    if (!alive.expired()) ShowWaiting();
  });
}

void WinUiBasic::ShowWaiting() {
  // The box that is open shows the rest when it closes.
  if (showing_) return;
  showing_ = true;
  while (!waiting_.empty()) {
    Box box = std::move(waiting_.front());
    waiting_.pop_front();
    const int pressed = Show(box);
    if (box.question && box.answer) box.answer(pressed == IDYES);
  }
  showing_ = false;
}

void WinUiBasic::Notice(const std::string& text, const std::string& caption, NoticeIcon icon) {
  Raise({Wide(text), Wide(caption), MB_OK | IconStyle(icon), owner_, false, nullptr});
}

void WinUiBasic::ShowPendingNotices() {
  std::deque<Box> now;
  now.swap(waiting_);
  // A question left unanswered at the end asks nothing.
  for (const Box& box : now)
    if (!box.question) Show(box);
}

void WinUiBasic::Ask(const std::string& text, const std::string& caption,
                     std::function<void(bool yes)> answer) {
  Raise({Wide(text), Wide(caption), MB_YESNO | MB_ICONQUESTION, nullptr, true,
         std::move(answer)});
}

void WinUiBasic::Beep(BeepKind kind) {
  MessageBeep(kind == BeepKind::Asterisk ? MB_ICONASTERISK : MB_ICONHAND);
}

void WinUiBasic::Flash(bool on) {
  if (owner_) FlashWindow(owner_, on ? TRUE : FALSE);
}

}  // namespace tellu
