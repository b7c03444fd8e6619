// The settings dialog (dialog 136): edits a copy of the settings in its
// controls; OK hands the copy back to be taken over, Cancel drops it.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "settings/dialog_ok.h"
#include "win32/window.h"

namespace tellu {

// What a chooser would return, handed to the open dialog as WM_COPYDATA in
// UTF-16 (tests drive the dialog so, not through the system's choosers):
// the font as "tenths,face", the folder as its path.  Only a build with
// TELLU_TEST_SEAMS takes it; the shipped program takes no settings from
// another process.
inline constexpr ULONG_PTR kFontChoiceData = 0x54464E54;
inline constexpr ULONG_PTR kFolderChoiceData = 0x5446444C;

class SettingsDlg : public Dialog {
 public:
  // `log_name` gives LogName as stored, where the folder chooser starts;
  // `save_window_state` is "現状態を保存", written at once.
  SettingsDlg(DialogSettings copy, std::function<std::string()> log_name,
              std::function<void()> save_window_state);

  // IDOK or IDCANCEL (-1 when the dialog could not be made).
  INT_PTR Run(HWND owner);
  const DialogSettings& copy() const { return copy_; }

 protected:
  BOOL OnInitDialog() override;
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void ShowSize();
  void AddMuteItem(const std::string& handle);
  std::vector<std::string> MuteItems() const;
  void OnMuteAdd();
  void OnMuteDelete();
  // Index of the item "削除" deletes, npos for none.
  size_t ChosenMuteItem() const;
  void OnFont();
  void FontChosen(const std::wstring& face, int tenths);
  void OnFolder();
  void FolderChosen(const std::wstring& path, const std::string& tail);
  bool OnCopyData(const COPYDATASTRUCT& data);
  // The controls into the copy; false, with the reason shown, when a value
  // cannot be stored as it stands.
  bool TakeControls();
  void Refuse(int id, const std::string& text);

  DialogSettings copy_;
  std::function<std::string()> log_name_;
  std::function<void()> save_window_state_;
  std::vector<std::string> handles_;  // the mute box's items, by item data
};

}  // namespace tellu
