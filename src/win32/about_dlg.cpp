#include "win32/about_dlg.h"

#include <shellapi.h>

#include <string>

#include "text/sjis.h"
#include "win32/resource.h"

namespace tellu {

namespace {

struct AboutBox {
  std::wstring info;
  OpenAddress open;
};

void SetTextIfChanged(HWND control, const wchar_t* text) {
  int n = GetWindowTextLengthW(control);
  std::wstring now(size_t(n) + 1, L'\0');
  GetWindowTextW(control, now.data(), n + 1);
  now.resize(size_t(n));
  if (now != text) SetWindowTextW(control, text);
}

// The caller's text may change between showings, so each paint shows it anew;
// setting only what differs spares the controls a flicker on every paint.
void ShowTexts(HWND dlg, const AboutBox& box) {
  SetTextIfChanged(GetDlgItem(dlg, IDC_ABOUT_HOMEPAGE), kHomePage);
  SetTextIfChanged(GetDlgItem(dlg, IDC_ABOUT_INFO), box.info.c_str());
}

INT_PTR CALLBACK AboutProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  auto* box = reinterpret_cast<AboutBox*>(GetWindowLongPtrW(dlg, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dlg, DWLP_USER, lp);
      ShowTexts(dlg, *reinterpret_cast<AboutBox*>(lp));
      return TRUE;
    case WM_PAINT:
      if (box) ShowTexts(dlg, *box);
      return FALSE;  // the dialog paints itself as usual
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDOK:
        case IDCANCEL:
          EndDialog(dlg, LOWORD(wp));
          return TRUE;
        case IDC_ABOUT_HOMEPAGE:
          if (box && box->open && HIWORD(wp) == BN_CLICKED) box->open(dlg, kHomePage);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace

void OpenWithShell(HWND owner, const wchar_t* address) {
  ShellExecuteW(owner, L"open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

INT_PTR RunAboutBox(HWND owner, std::string_view info, OpenAddress open) {
  std::u16string u = text::SjisToUtf16(info);
  AboutBox box{std::wstring(u.begin(), u.end()), open};
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUTBOX), owner,
                         AboutProc, LPARAM(&box));
}

}  // namespace tellu
