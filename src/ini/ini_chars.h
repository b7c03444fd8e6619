// Byte-level character rules shared by the profile engine: which bytes are
// blanks, how a Shift-JIS double-byte character is stepped over, and how
// names are trimmed and compared.
#pragma once
#include <cstddef>
#include <string_view>

namespace tellu::ini {

// The platform trims tab, line feed, vertical tab, form feed, carriage
// return, blank and the DOS end-of-file mark (0x1A).  None of them can be
// the second byte of a double-byte character.
inline bool IsBlank(char c) {
  return (c >= '\t' && c <= '\r') || c == ' ' || c == '\x1a';
}

// Index of the character after the one starting at i: a lead byte takes a
// following trail byte with it, as the code page conversion does.
size_t NextChar(std::string_view s, size_t i);

// Blanks removed at both ends; the trailing side never splits a double-byte
// character.
std::string_view Trim(std::string_view s);
std::string_view TrimLeft(std::string_view s);
std::string_view TrimRight(std::string_view s);

// The text up to the first NUL: what a C string of these bytes holds.
std::string_view CutAtNul(std::string_view s);

// Index of the last single-byte character c, or npos (text::FindChar finds
// the first).  A byte that is the second half of a double-byte character never
// matches.
size_t FindLast(std::string_view s, char c);

// Names compare case-insensitively on ASCII letters only; the bytes of a
// double-byte character compare exactly.
bool NamesEqual(std::string_view a, std::string_view b);

}  // namespace tellu::ini
