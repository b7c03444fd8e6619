// Helpers shared by the wire codec and the display conversions: stepping
// through Shift-JIS text and writing Shift-JIS codes and UTF-8.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tellu::text {

// One character of Shift-JIS text as code page 932 reads it.
struct SjisChar {
  size_t size = 1;     // bytes taken: 2 for a lead byte with a trail byte
  uint16_t code = 0;   // the byte, or lead << 8 | trail
  bool mapped = true;  // false: a lead byte without a trail byte, or an
                       // unassigned pair; Windows shows either as U+30FB
  char16_t unicode = 0;
};

// A lead byte followed by something that cannot be a trail byte (a space, a
// NUL, the end) is one bad character of one byte: the next byte is read
// afresh, so no ASCII is swallowed after a broken lead.
SjisChar NextSjisChar(std::string_view text, size_t pos);

bool IsTrailByte(uint8_t b);

// Appends a code from the table (one byte or a pair).
void AppendCode(std::string& out, uint16_t code);

// Appends one code unit as UTF-8 in 1, 2 or 3 bytes.
void AppendUtf8(std::string& out, char16_t c);

// Typed text, whose characters come from any system's input: the table, then
// the JIS X 0208 readings of the characters where code page 932 differs
// (input methods outside Windows type U+301C for 81 60), then Windows'
// best-fit mappings.
bool TypedToCp932(char32_t c, uint16_t& out);
// The same without the best-fit guesses: the character itself, or nothing.
bool ExactToCp932(char32_t c, uint16_t& out);
// What typed text may send: the exact code, or one of the few guesses that
// are another system's reading of the same character (U+00A5 for 5C).
bool SendableToCp932(char32_t c, uint16_t& out);

// Katakana middle dot: what Windows shows for a Shift-JIS character it
// cannot map.
constexpr char16_t kNoChar = u'\u30FB';

}  // namespace tellu::text
