// CTelluDlg and its log window: opening and closing it from the system menu,
// its refresh requests, and the notice of a lost server connection.
#include "gui/tellu_dlg.h"

namespace tellu {

void CTelluDlg::ToggleLogWindow() {
  if (log_window_)
    log_window_->Close();
  else
    OpenLogWindow();
  SetFocus(edit_);
}

void CTelluDlg::OpenLogWindow() {
  if (log_window_ || !session_) return;
  log_window_ = LogWindow::Open(hwnd(), session_->log_store(), shell_,
                                session_->settings().settings(), [this] {
                                  log_window_ = nullptr;
                                  system_menu_.CheckLog(false);
                                  if (session_ && session_->chat())
                                    session_->chat()->set_log_window(nullptr);
                                });
  if (!log_window_) return;
  system_menu_.CheckLog(true);
  if (session_->chat()) session_->chat()->set_log_window(log_window_->model());
}

void CTelluDlg::LogChanged() {
  if (log_window_) PostMessageW(log_window_->hwnd(), kRefreshMessage, 0, 0);
}

void CTelluDlg::AppendServerLost(const std::string& text) {
  if (!log_window_) return;
  LinkView& view = log_window_->view();
  view.SetInsertColour(kServerLostColour);
  view.AppendText(text);
}

}  // namespace tellu
