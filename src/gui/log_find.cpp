#include "gui/log_find.h"

#include <richedit.h>

#include <optional>

#include "log/find_next.h"
#include "win32/window.h"

namespace tellu {
namespace {

UINT FindMessage() {
  static const UINT message = RegisterWindowMessageW(FINDMSGSTRINGW);
  return message;
}

// The view's forward search, which knows the control's case rules.
std::optional<TextSpan> FirstIn(HWND view, const wchar_t* what, bool match_case, long from) {
  FINDTEXTEXW find{{static_cast<LONG>(from), -1}, what, {}};
  const WPARAM flags = FR_DOWN | (match_case ? FR_MATCHCASE : 0);
  if (SendMessageW(view, EM_FINDTEXTEXW, flags, reinterpret_cast<LPARAM>(&find)) < 0)
    return std::nullopt;
  return TextSpan{find.chrgText.cpMin, find.chrgText.cpMax};
}

}  // namespace

LogFind::LogFind(HWND owner, LinkView& view) : owner_(owner), view_(view) {
  request_.lStructSize = sizeof request_;
  request_.hwndOwner = owner;
  request_.lpstrFindWhat = what_;
  request_.wFindWhatLen = sizeof what_;
  request_.Flags = FR_DOWN | FR_HIDEWHOLEWORD;
}

LogFind::~LogFind() {
  if (dialog_ && IsWindow(dialog_)) DestroyWindow(dialog_);
  Closed();
}

void LogFind::Open() {
  if (dialog_) {
    SetActiveWindow(dialog_);
    return;
  }
  FindMessage();
  // Its own flags back from the last search, without the notice bits.
  request_.Flags &= FR_DOWN | FR_MATCHCASE;
  request_.Flags |= FR_HIDEWHOLEWORD;
  dialog_ = FindTextW(&request_);
  if (!dialog_) return;
  Dialog::AddModeless(dialog_);
  view_.HoldSelection(true);
}

void LogFind::Next() {
  if (what_[0] == L'\0') {
    Open();
    return;
  }
  Search();
}

bool LogFind::OnMessage(UINT message, LPARAM lparam) {
  if (message != FindMessage() || reinterpret_cast<FINDREPLACEW*>(lparam) != &request_)
    return false;
  if (request_.Flags & FR_DIALOGTERM)
    Closed();
  else if (request_.Flags & FR_FINDNEXT)
    Search();
  return true;
}

void LogFind::Search() {
  HWND view = view_.hwnd();
  if (!view || what_[0] == L'\0') return;
  CHARRANGE selection{};
  SendMessageW(view, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  const bool match_case = (request_.Flags & FR_MATCHCASE) != 0;
  const std::optional<TextSpan> found =
      NextMatch({selection.cpMin, selection.cpMax}, (request_.Flags & FR_DOWN) != 0,
                [&](long from) { return FirstIn(view, what_, match_case, from); });
  if (!found) {
    MessageBeep(MB_ICONHAND);
    return;
  }
  CHARRANGE match{static_cast<LONG>(found->start), static_cast<LONG>(found->end)};
  SendMessageW(view, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&match));
  SendMessageW(view, EM_SCROLLCARET, 0, 0);
}

void LogFind::Closed() {
  if (!dialog_) return;
  Dialog::RemoveModeless(dialog_);
  dialog_ = nullptr;
  view_.HoldSelection(false);
}

}  // namespace tellu
