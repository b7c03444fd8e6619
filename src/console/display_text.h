// Program text as the console shows it: Shift-JIS made UTF-8, and nothing a
// remote user sends can move the cursor, recolour or retitle the terminal.
#pragma once
#include <string>
#include <string_view>

#include "text/typed_text.h"

namespace tellu {

// UTF-8 of the Shift-JIS text; CR LF and lone LF become LF, tabs stay, and
// every other control character (C0, DEL and the C1 range) becomes "?".
std::string TerminalText(std::string_view sjis);

// A Windows-style path as POSIX writes it, for a message: every backslash
// character "/" (never the second byte of a double-byte character), then as
// TerminalText.  The value itself stays as stored.
std::string PosixPathText(std::string_view sjis);

}  // namespace tellu
