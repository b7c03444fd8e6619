#include "gui/about_dlg.h"

#include <string>

#include "res/resource.h"
#include "win32/wide_text.h"
#include "win32/window.h"

namespace tellu {

namespace {

void SetTextIfChanged(HWND control, const wchar_t* text) {
  int n = GetWindowTextLengthW(control);
  std::wstring now(size_t(n) + 1, L'\0');
  GetWindowTextW(control, now.data(), n + 1);
  now.resize(size_t(n));
  if (now != text) SetWindowTextW(control, text);
}

class AboutBox : public Dialog {
 public:
  AboutBox(std::string_view info, Shell& shell) : info_(Wide(info)), shell_(shell) {}

 protected:
  BOOL OnInitDialog() override {
    ShowTexts();
    return TRUE;
  }

  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM) override {
    if (msg == WM_PAINT) {
      ShowTexts();
      return FALSE;  // the dialog paints itself as usual
    }
    if (msg != WM_COMMAND || LOWORD(wp) != IDC_ABOUT_HOMEPAGE) return FALSE;
    if (HIWORD(wp) == BN_CLICKED) shell_.Open(Sjis(kHomePage));
    return TRUE;
  }

 private:
  // The caller's text may change between showings, so each paint shows it
  // anew; setting only what differs spares the controls a flicker on every
  // paint.
  void ShowTexts() {
    SetTextIfChanged(GetDlgItem(hwnd(), IDC_ABOUT_HOMEPAGE), kHomePage);
    SetTextIfChanged(GetDlgItem(hwnd(), IDC_ABOUT_INFO), info_.c_str());
  }

  std::wstring info_;
  Shell& shell_;
};

}  // namespace

INT_PTR RunAboutBox(HWND owner, std::string_view info, Shell& shell) {
  AboutBox box(info, shell);
  return box.RunModal(owner, IDD_ABOUTBOX);
}

}  // namespace tellu
