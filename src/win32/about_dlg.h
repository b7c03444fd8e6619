// The About box (dialog 100): the version, an information text from the caller
// and a button that opens the home page.
#pragma once
#include <windows.h>

#include <string_view>

namespace tellu {

// The home page the About box's button opens.
inline constexpr wchar_t kHomePage[] = L"http://tellu.example.jp/";

// Opens an address for the user; the box uses the shell's "open" unless a
// test gives its own.
using OpenAddress = void (*)(HWND owner, const wchar_t* address);
void OpenWithShell(HWND owner, const wchar_t* address);

// Runs the box modally over `owner` with the Shift-JIS information text;
// returns when OK or Escape closed it.
INT_PTR RunAboutBox(HWND owner, std::string_view info, OpenAddress open = OpenWithShell);

}  // namespace tellu
