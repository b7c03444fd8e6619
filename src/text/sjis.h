// Shift-JIS (code page 932, as Windows maps it) and the program's text
// conversions.  All text inside the program is Shift-JIS bytes in std::string;
// these functions are the only places where it meets Unicode.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tellu::text {

// One code page 932 character <-> one UTF-16 code unit.  `sjis` is a single
// byte (0x00..0xFF) or a double-byte code (lead << 8 | trail).  Return false
// when the table has no mapping.
//
// The table is Windows': every code it decodes (NEC row 13, the IBM rows
// ED-EE and FA-FC, the user-defined rows F0-F9 as U+E000..E757, and the single
// bytes 80 -> U+0080, A0 -> U+F8F0, FD..FF -> U+F8F1..F8F3); encoding gives
// Windows' choice among duplicates (U+2170 -> FA 40, U+2252 -> 81 E0) and
// has no best-fit guesses.
bool Cp932ToUnicode(uint16_t sjis, char16_t& out);
bool UnicodeToCp932(char16_t unicode, uint16_t& out);

// True for a byte that starts a double-byte character (81..9F, E0..FC).
bool IsLeadByte(uint8_t b);

// Bytes taken by the character starting at pos: 2 for a lead byte followed by
// a trail byte, else 1, so a broken lead never swallows the byte after it.
// Everything that searches Shift-JIS text for "\", "." or ":" steps with this:
// 5C and 7E are also trail bytes.
size_t CharSize(std::string_view sjis, size_t pos);
// Offset of the first single-byte character c at or after `from` (never the
// second byte of a double-byte character), or npos.
size_t FindChar(std::string_view sjis, char c, size_t from = 0);

// Wire text (the chat protocol's UTF-8 of 16-bit code points) <-> Shift-JIS.
//
// Reading: U+00A5 -> 5C, U+005C -> 81 5F, U+301C / U+2016 / U+2212 -> 81 60 /
// 81 61 / 81 7C when the table lacks them; a character found nowhere is
// left out.  A zero byte, a NUL however encoded (C0 80) and a stray
// continuation byte end the text.  Leads E0..FF all take two continuation
// bytes.  A sequence missing a continuation byte, inside the field or cut
// short by its end, is left out and reading goes on at the byte that broke it.
//
// Writing: 5C -> U+00A5, 81 5F -> U+005C, 81 60 / 81 61 / 81 7C -> U+301C /
// U+2016 / U+2212, everything else through the table.  A NUL byte ends the
// text (the reader would stop at it too).  Shift-JIS that is not valid code
// page 932 (a lead byte without a trail byte, an unassigned pair) is sent as
// U+30FB, as Windows shows it; the byte after a lone lead byte is read afresh.
//
// For any Shift-JIS s, SjisToWire(WireToSjis(SjisToWire(s))) ==
// SjisToWire(s), and for any wire w, t = WireToSjis(w) comes back unchanged
// from WireToSjis(SjisToWire(t)).
std::string WireToSjis(std::string_view wire);
std::string SjisToWire(std::string_view sjis);

// Display conversions for the front ends and typed text.  Characters without
// a mapping become U+30FB (katakana middle dot) in UTF-16/UTF-8 and "?" in
// Shift-JIS, so nothing is silently dropped from a display.
//
// These follow Windows' own conversion, not the wire's rules: 5C is U+005C
// (shown as a yen sign only by a Japanese font) and 81 5F is U+FF3C.  Typed
// text also takes the JIS readings other systems' input methods produce
// (U+301C for 81 60, U+2016, U+2212, U+2014) and Windows' best-fit guesses
// (U+00A5 -> 5C, U+00E9 -> "e").  Ill-formed UTF-8 or UTF-16 gives one mark
// per broken sequence; a character beyond U+FFFF is one mark.
std::u16string SjisToUtf16(std::string_view sjis);
std::string Utf16ToSjis(std::u16string_view utf16);
// Text that is to be stored as typed: false, with `out` undefined, when a
// character has no code of its own (a best-fit guess or a mark would be
// something else than what was typed).
bool Utf16ToSjisExact(std::u16string_view utf16, std::string& out);
std::string SjisToUtf8(std::string_view sjis);
std::string Utf8ToSjis(std::string_view utf8);

// A character of typed text that would not reach the chat as typed: it has
// no code page 932 code, so the conversion above would send "?" or a guess
// ("e" for U+00E9) in its place.  Kept are the table's codes, the JIS
// readings above and the other systems' readings of 5C and 81 91 / 81 92 /
// 81 CA (U+00A5, U+00A2, U+00A3, U+00AC): they give the same bytes as the
// conversion always did.  offset and size count code units of the text
// given; a lone surrogate is its own code point, ill-formed UTF-8 is broken.
struct Unsendable {
  size_t offset = 0;
  size_t size = 0;
  char32_t code_point = 0;
  bool broken = false;
};
std::vector<Unsendable> FindUnsendable(std::u16string_view utf16);
std::vector<Unsendable> FindUnsendableUtf8(std::string_view utf8);
// A character a message may show as itself: not a control, a surrogate or an
// invisible character that changes how the text around it is drawn.
bool DrawnAsItself(char32_t c);
// Offset of the first character of Shift-JIS text that is not valid code
// page 932 (the wire would carry U+30FB for it), or npos.
size_t FindUnmapped(std::string_view sjis);

}  // namespace tellu::text
