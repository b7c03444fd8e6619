// The Ui port of tellu.exe: message boxes from WinUiBasic, the rest shown by
// the input bar and the windows it owns.
#pragma once
#include <functional>
#include <memory>

#include "win32/win_ui_basic.h"

namespace tellu {

class CTelluDlg;

class DlgUi : public WinUiBasic {
 public:
  DlgUi(MessageWindow& window, CTelluDlg& bar) : WinUiBasic(window), bar_(bar) {}

  void LogChanged() override;
  void WhoChanged() override;
  void StatusChanged(int index) override;
  void EnableLoginItems(bool enable) override;
  void ToggleWhoWindow() override;
  void WhisperFlash() override;
  std::unique_ptr<ProgressView> OpenProgress(std::function<void()> cancel) override;

 private:
  CTelluDlg& bar_;
};

}  // namespace tellu
