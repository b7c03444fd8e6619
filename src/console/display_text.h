// Program text as the console shows it: Shift-JIS made UTF-8, and nothing a
// remote user sends can move the cursor, recolour or retitle the terminal.
#pragma once
#include <string>
#include <string_view>

namespace tellu {

// UTF-8 of the Shift-JIS text; CR LF and lone LF become LF, tabs stay, and
// every other control character (C0, DEL and the C1 range) becomes "?".
std::string TerminalText(std::string_view sjis);

// A Windows-style path as POSIX writes it, for a message: every backslash
// character "/" (never the second byte of a double-byte character), then as
// TerminalText.  The value itself stays as stored.
std::string PosixPathText(std::string_view sjis);

// A typed line as the program's text, unless some of it cannot be sent as
// typed: then `refused` names those characters with their code points
// (UTF-8, for standard error) and nothing of the line is to be sent.
struct TypedLine {
  std::string sjis;
  std::string refused;
};

// Typed UTF-8 or UTF-16, or Shift-JIS from a pipe.  Line ends are the caller's.
TypedLine TypedText(std::string_view utf8);
TypedLine TypedText(std::u16string_view utf16);
TypedLine TypedSjis(std::string_view sjis);

}  // namespace tellu
