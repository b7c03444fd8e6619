// CTelluDlg and the settings dialog: item 64, what its OK takes over, and
// its "save the present state" button.
#include "settings/keys.h"
#include "settings/window_state.h"
#include "win32/settings_dlg.h"
#include "win32/tellu_dlg.h"
#include "win32/who_window.h"

namespace tellu {
namespace {

std::optional<WindowRect> RectOf(HWND window) {
  RECT r;
  if (!window || !GetWindowRect(window, &r)) return std::nullopt;
  return WindowRect{r.left, r.top, r.right, r.bottom};
}

}  // namespace

void CTelluDlg::OpenSettings() {
  if (!session_) return;
  SettingsStore& store = session_->settings();
  SettingsDlg dialog(
      DialogCopy(store.settings()), [&store] { return store.ReadText(keys::kLogName); },
      [this] { SaveWindowStateNow(); });
  if (dialog.Run(hwnd()) != IDOK) return;
  if (session_->TakeDialogSettings(dialog.copy()).font_changed) ApplyFont();
  const bool topmost = store.settings().most_top_chk != 0;
  SetWindowPos(hwnd(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

void CTelluDlg::SaveWindowStateNow() {
  SettingsStore& store = session_->settings();
  WindowRects state;
  state.host = RectOf(host_);
  state.bar = RectOf(hwnd()).value_or(WindowRect{});
  if (log_window_) {
    state.log_window = RectOf(log_window_->hwnd());
    state.log_window_real = log_window_->model()->update_state();
  }
  ChatCore* chat = session_->chat();
  state.who_window_flag = chat ? chat->state().who_window_flag : store.settings().who_window_flag != 0;
  if (who_window_) state.who_window = RectOf(who_window_->hwnd());
  SaveWindowState(store, state);
}

}  // namespace tellu
