// A line the user typed, as the program's text or refused whole: a character
// Shift-JIS cannot hold is never sent as "?".
#pragma once
#include <string>
#include <string_view>

namespace tellu {

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
