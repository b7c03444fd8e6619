// Shift-JIS (code page 932, as Windows maps it) and the program's text
// conversions.  All text inside the program is Shift-JIS bytes in std::string;
// these functions are the only places where it meets Unicode.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tellu::text {

// One code page 932 character <-> one UTF-16 code unit.  `sjis` is a single
// byte (0x00..0xFF) or a double-byte code (lead << 8 | trail).  Return false
// when the table has no mapping.
bool Cp932ToUnicode(uint16_t sjis, char16_t& out);
bool UnicodeToCp932(char16_t unicode, uint16_t& out);

// True for a byte that starts a double-byte character (81..9F, E0..FC).
bool IsLeadByte(uint8_t b);

// Wire text (the chat protocol's UTF-8 of 16-bit code points) <-> Shift-JIS.
std::string WireToSjis(std::string_view wire);
std::string SjisToWire(std::string_view sjis);

// Display conversions for the front ends and typed text.  Characters without
// a mapping become U+30FB (katakana middle dot) in UTF-16/UTF-8 and "?" in
// Shift-JIS, so nothing is silently dropped from a display.
std::u16string SjisToUtf16(std::string_view sjis);
std::string Utf16ToSjis(std::u16string_view utf16);
std::string SjisToUtf8(std::string_view sjis);
std::string Utf8ToSjis(std::string_view utf8);

}  // namespace tellu::text
