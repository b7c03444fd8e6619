// CTelluDlg and the settings dialog: item 64, what its OK takes over, its
// "save the present state" button, and the chosen font on the bar and log.
#include <algorithm>

#include "settings/keys.h"
#include "settings/window_state.h"
#include "gui/settings_dlg.h"
#include "gui/tellu_dlg.h"
#include "gui/who_window.h"
#include "win32/wide_text.h"

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

void CTelluDlg::ApplyFont() {
  const Settings& s = session_->settings().settings();
  LOGFONTW font{};
  // As a point-size font is made: tenths of a point at the screen's resolution.
  if (s.font_tenths > 0) {
    HDC dc = GetDC(hwnd());
    font.lfHeight = -MulDiv(s.font_tenths, GetDeviceCaps(dc, LOGPIXELSY), 720);
    ReleaseDC(hwnd(), dc);
  }
  font.lfCharSet = DEFAULT_CHARSET;
  const std::wstring face = Wide(s.font_face);
  face.copy(font.lfFaceName, std::min<size_t>(face.size(), LF_FACESIZE - 1));
  HFONT made = CreateFontIndirectW(&font);
  if (!made) return;
  SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
  if (log_window_) log_window_->view().SetViewFont(s.font_tenths, s.font_face);
  if (font_) DeleteObject(font_);
  font_ = made;
}

}  // namespace tellu
