// Shift-JIS text at the edge of the wide Windows API: every W call gets
// UTF-16 made by the program's own code page 932 table, never the system's.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace tellu {

std::wstring Wide(std::string_view sjis);
std::string Sjis(std::wstring_view wide);
// As typed, or false: a character without a Shift-JIS code of its own would
// be stored as something else.
bool SjisExact(std::wstring_view wide, std::string& out);

// A window's caption or a control's text, as Shift-JIS.
std::string WindowText(HWND window);
bool SetWindowTextSjis(HWND window, std::string_view sjis);

}  // namespace tellu
