// Program text as the console shows it: Shift-JIS made UTF-8, and nothing a
// remote user sends can move the cursor, recolour or retitle the terminal.
#pragma once
#include <string>
#include <string_view>

namespace tellu {

// UTF-8 of the Shift-JIS text; CR LF and lone LF become LF, tabs stay, and
// every other control character (C0, DEL and the C1 range) becomes "?".
std::string TerminalText(std::string_view sjis);

// Typed UTF-8 as the program's text.  Line ends are the caller's.
std::string TypedText(std::string_view utf8);

}  // namespace tellu
