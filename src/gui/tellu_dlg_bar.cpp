// CTelluDlg's own controls: the text field and its keys, the small buttons,
// resizing and the status.
#include <windows.h>
// After windows.h, which it needs.
#include <imm.h>

#include <utility>

#include "bar/text_limit.h"
#include "bar/unsendable_field.h"
#include "chat/movement.h"
#include "gui/tellu_dlg.h"
#include "res/resource.h"
#include "win32/wide_text.h"

namespace tellu {
namespace {

constexpr int kRefuseTipMs = 10000;

}  // namespace

std::string CTelluDlg::FieldText() const { return WindowText(edit_); }

std::wstring CTelluDlg::FieldWide() const {
  const int length = GetWindowTextLengthW(edit_);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(edit_, buffer.data(), length + 1);
  buffer.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return buffer;
}

bool CTelluDlg::RefuseUnsendable() {
  const std::wstring field = FieldWide();
  const auto refusal = FindUnsendableField(std::u16string(field.begin(), field.end()));
  if (!refusal) return false;
  ui_.Beep();
  SetFocus(edit_);
  SendMessageW(edit_, EM_SETSEL, refusal->start, static_cast<LPARAM>(refusal->end));
  SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
  refuse_tip_.Show(edit_, std::wstring(refusal->text.begin(), refusal->text.end()));
  if (refuse_tip_timer_) timers_.Cancel(refuse_tip_timer_);
  refuse_tip_timer_ = timers_.Start(kRefuseTipMs, false, [this] {
    refuse_tip_timer_ = 0;
    refuse_tip_.Hide();
  });
  return true;
}

void CTelluDlg::SetFieldText(std::string_view text) {
  SetWindowTextSjis(edit_, text);
  const LRESULT end = GetWindowTextLengthW(edit_);
  SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(end), end);
  SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
  SetFocus(edit_);
}

bool CTelluDlg::Send(const std::string& field) {
  if (RefuseUnsendable()) return false;
  Deliver(field);
  SetWindowTextW(edit_, L"");
  return true;
}

void CTelluDlg::Deliver(const std::string& text) {
  if (!session_) return;
  if (session_->mode() == Session::Mode::kAttach) {
    typing_->Type(text, [this] { SetFocus(edit_); });
    return;
  }
  session_->Deliver(text);
  SetFocus(edit_);
}

void CTelluDlg::OnTextChanged() {
  // The user is changing the text the balloon was about.
  refuse_tip_.Hide();
  const TextChange change = tellu::OnTextChanged(FieldText());
  // Writing the field back would put "?" where such a character was.
  if (change.action == TextChange::kCut && !RefuseUnsendable()) SetFieldText(change.text);
  if (change.action == TextChange::kSend) Send(change.text);
}

void CTelluDlg::OnEditFocus() {
  if (!first_focus_ || !session_) return;
  first_focus_ = false;
  if (session_->settings().settings().ime_auto_on_chk == 0) return;
  HIMC context = ImmGetContext(edit_);
  if (!context) return;
  if (!ImmGetOpenStatus(context)) ImmSetOpenStatus(context, TRUE);
  ImmReleaseContext(edit_, context);
}

void CTelluDlg::OnWhoButton() {
  const Pair who = session_ ? session_->settings().settings().position_who_btn : Pair{};
  if (who.x != 0 && host_) {
    typing_->Click(who.x, who.y, [this] {
      SendMessageW(hwnd(), WM_NEXTDLGCTL, 0, 0);
      SetFocus(edit_);
    });
    return;
  }
  ToggleWhoWindow();
  SetFocus(edit_);
}

void CTelluDlg::OnStatusButton() {
  POINT at{};
  GetCursorPos(&at);
  status_popup_.Show(hwnd(), at);
  SetFocus(edit_);
}

bool CTelluDlg::OnKeyAction(BarAction action) {
  ChatCore* chat = session_ ? session_->chat() : nullptr;
  switch (action) {
    case BarAction::kTabSend: {
      const TextChange change = tellu::OnTextChanged(FieldText() + "\t");
      if (change.action == TextChange::kCut && !RefuseUnsendable()) SetFieldText(change.text);
      // A refused line keeps the focus on its selected character.
      if (change.action == TextChange::kSend && !Send(change.text)) return true;
      SendMessageW(hwnd(), WM_NEXTDLGCTL, 0, 0);
      return true;
    }
    case BarAction::kHelp:
      OpenHelp();
      return true;
    case BarAction::kGhost:
    case BarAction::kGhostFrozen:
      if (chat) chat->ToggleGhost(action == BarAction::kGhostFrozen);
      return false;
    case BarAction::kReplySpeaker:
    case BarAction::kReplyWhisperer: {
      if (!chat) return false;
      const std::string& name =
          action == BarAction::kReplySpeaker ? chat->LastSpeaker() : chat->LastWhisperer();
      if (const auto text = ReplyText(name, FieldText()); text && !RefuseUnsendable())
        SetFieldText(*text);
      chat->ApplyOffsets();
      return false;
    }
    default:
      break;
  }
  static constexpr std::pair<BarAction, MoveKey> kMoves[] = {
      {BarAction::kRaise, MoveKey::kPageUp},       {BarAction::kLower, MoveKey::kPageDown},
      {BarAction::kResetOffsets, MoveKey::kHome},  {BarAction::kTurnLeft, MoveKey::kCtrlLeft},
      {BarAction::kTurnRight, MoveKey::kCtrlRight}, {BarAction::kStepForward, MoveKey::kCtrlUp},
      {BarAction::kStepBack, MoveKey::kCtrlDown}};
  for (const auto& [bar_action, key] : kMoves)
    if (action == bar_action && chat) chat->PressMoveKey(key);
  return false;
}

bool CTelluDlg::PaintMinimised() {
  if (!IsIconic(hwnd())) return false;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd(), &paint);
  SendMessageW(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int cx = GetSystemMetrics(SM_CXICON);
  const int cy = GetSystemMetrics(SM_CYICON);
  DrawIcon(dc, (client.right - cx + 1) / 2, (client.bottom - cy + 1) / 2,
           ProgramIcon(IDI_TELLU, false));
  EndPaint(hwnd(), &paint);
  return true;
}

int CTelluDlg::Status() {
  ChatCore* chat = session_ ? session_->chat() : nullptr;
  return chat ? chat->state().status : kNormalStatus;
}

void CTelluDlg::SetStatus(int index) {
  if (ChatCore* chat = session_ ? session_->chat() : nullptr) chat->SetStatus(index);
}

void CTelluDlg::ShowStatus(int index) { ShowStatusOnBar(hwnd(), index, status_pictures_); }

}  // namespace tellu
