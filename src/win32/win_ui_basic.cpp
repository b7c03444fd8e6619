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

void WinUiBasic::Show(Note& note) {
  // Marked first: a flush from inside this box's loop must not show it again.
  note.shown = true;
  HWND owner = note.owner && IsWindow(note.owner) ? note.owner : nullptr;
  MessageBoxW(owner, note.text.c_str(), note.caption.c_str(), note.style);
}

void WinUiBasic::Notice(const std::string& text, const std::string& caption, NoticeIcon icon) {
  while (!pending_.empty() && pending_.front()->shown) pending_.pop_front();
  auto note = std::make_shared<Note>(Note{Wide(text), Wide(caption), MB_OK | IconStyle(icon),
                                          owner_, false});
  pending_.push_back(note);
  // In turn with the questions, which are deferred the same way.
  window_.Defer([note] {
    if (!note->shown) Show(*note);
  });
}

void WinUiBasic::ShowPendingNotices() {
  std::deque<std::shared_ptr<Note>> now;
  now.swap(pending_);
  for (const auto& note : now)
    if (!note->shown) Show(*note);
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
