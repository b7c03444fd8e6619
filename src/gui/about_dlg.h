// The About box (dialog 100): the version, an information text from the caller
// and a button that opens the home page.
#pragma once
#include <windows.h>

#include <string_view>

#include "platform/shell.h"

namespace tellu {

// The home page the About box's button opens.
inline constexpr wchar_t kHomePage[] = L"http://tellu.example.jp/";

// Runs the box modally over `owner` with the Shift-JIS information text; its
// button opens the home page through `shell`.  Returns when OK or Escape
// closed it.
INT_PTR RunAboutBox(HWND owner, std::string_view info, Shell& shell);

}  // namespace tellu
