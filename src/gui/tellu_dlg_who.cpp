// CTelluDlg and its Real-time Who window: opening and closing it, its check
// mark and the run's Who-window flag, and its refresh requests.
#include "gui/tellu_dlg.h"
#include "gui/who_window.h"

namespace tellu {

void CTelluDlg::ToggleWhoWindow() {
  if (who_window_) {
    CloseWhoWindow();
    return;
  }
  ChatCore* chat = session_ ? session_->chat() : nullptr;
  if (!chat) return;
  who_window_ = WhoWindow::Open(hwnd(), {session_->settings(), chat->objects(), host_, edit_}, [this] {
    who_window_ = nullptr;
    system_menu_.CheckWho(false);
    if (session_ && session_->chat()) session_->chat()->state().who_window_flag = false;
  });
  if (!who_window_) return;
  system_menu_.CheckWho(true);
  chat->state().who_window_flag = true;
}

// Its destruction clears the pointer, the check mark and the flag.
void CTelluDlg::CloseWhoWindow() {
  if (who_window_) who_window_->Close();
}

void CTelluDlg::WhoChanged() {
  if (who_window_) who_window_->RequestRefresh();
}

}  // namespace tellu
