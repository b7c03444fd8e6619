// CTelluDlg and the message table: run from button 1005 and system-menu
// item 32, an entry chosen there is expanded with the field and delivered.
#include "bar/message_expand.h"
#include "gui/message_table_dlg.h"
#include "gui/tellu_dlg.h"
#include "settings/unsendable.h"

namespace tellu {

void CTelluDlg::OnMessageTableButton() {
  SendMessageW(hwnd(), WM_NEXTDLGCTL, 0, 0);
  if (!session_) return;
  const auto& entries = session_->settings().settings().messages;
  if (const auto chosen = ChosenMessage(RunMessageTable(hwnd(), entries)))
    SendMessageEntry(entries[*chosen].text);
}

void CTelluDlg::SendMessageEntry(const std::string& message) {
  // An entry written by hand that cannot be sent was told of at start-up.
  if (!Sendable(message)) {
    ui_.Beep();
    return;
  }
  const Expansion expansion = ExpandMessage(message, FieldText());
  // The field counts only where the entry takes it ("%s", a whisper prefix).
  if (expansion.text != ExpandMessage(message, "").text && RefuseUnsendable()) return;
  // Attach mode types it into the host as any text from the bar.
  Deliver(expansion.text);
  if (expansion.clears_field()) SetWindowTextW(edit_, L"");
}

}  // namespace tellu
