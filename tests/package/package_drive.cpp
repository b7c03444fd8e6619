// package_drive: what a user's hand does to tellu.exe in the package test,
// one step per run, so that a shell script can drive the unpacked program.
//   package_drive say TEXT   types TEXT into the input bar and presses Enter
//   package_drive help       chooses the help item of the bar's system menu
//   package_drive close HWND closes a window (hexadecimal handle)
//   package_drive close-bar  closes the input bar
// Each waits at most 30 s for the bar; the status is 0 when the step was done.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "bar/system_menu_items.h"
#include "res/resource.h"

namespace {

constexpr wchar_t kBarTitle[] = L"Tellu  Ver  0.17j";

HWND WaitForBar() {
  for (int tries = 0; tries < 300; ++tries) {
    if (HWND bar = FindWindowW(L"#32770", kBarTitle)) return bar;
    Sleep(100);
  }
  return nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring step = argc > 1 ? argv[1] : L"";
  if (step == L"close" && argc == 3) {
    const auto window = reinterpret_cast<HWND>(wcstoull(argv[2], nullptr, 16));
    return IsWindow(window) && PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
  }
  if (step != L"say" && step != L"help" && step != L"close-bar") {
    fwprintf(stderr, L"usage: package_drive say TEXT | help | close HWND | close-bar\n");
    return 2;
  }
  HWND bar = WaitForBar();
  if (!bar) {
    fwprintf(stderr, L"package_drive: no input bar\n");
    return 1;
  }
  if (step == L"help") return PostMessageW(bar, WM_SYSCOMMAND, tellu::kHelpCommand, 0) ? 0 : 1;
  if (step == L"close-bar") return PostMessageW(bar, WM_CLOSE, 0, 0) ? 0 : 1;
  if (argc != 3) return 2;
  HWND edit = GetDlgItem(bar, IDC_BAR_EDIT);
  for (const wchar_t* c = argv[2]; *c; ++c) PostMessageW(edit, WM_CHAR, *c, 1);
  return PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1) ? 0 : 1;
}
