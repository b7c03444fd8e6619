// Every code the code page 932 table decodes, for tests that sweep the table.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "text/sjis.h"

namespace tellu::text::codes {

inline std::vector<uint16_t> AllCodes() {
  std::vector<uint16_t> codes;
  char16_t u;
  for (unsigned b = 0; b < 0x100; ++b) {
    if (Cp932ToUnicode(static_cast<uint16_t>(b), u)) codes.push_back(static_cast<uint16_t>(b));
  }
  for (unsigned lead = 0x81; lead < 0x100; ++lead) {
    for (unsigned trail = 0; trail < 0x100; ++trail) {
      const auto code = static_cast<uint16_t>(lead << 8 | trail);
      if (Cp932ToUnicode(code, u)) codes.push_back(code);
    }
  }
  return codes;
}

inline std::string Bytes(uint16_t code) {
  std::string s;
  if (code > 0xFF) s += static_cast<char>(code >> 8);
  s += static_cast<char>(code & 0xFF);
  return s;
}

// The code Windows writes for the character that `code` reads as: the code
// itself, except for the characters that stand in two rows, which go out in
// the row Windows prefers.  -1 for the NEC-selected IBM rows (leads ED and
// EE), which go out as the same character in the IBM rows (FA to FC) or, for
// "\uFFE2", as 81CA.
inline int WrittenAs(uint16_t code) {
  static const struct {
    uint16_t from, to;
  } moves[] = {
      // NEC row 13 characters that JIS X 0208 also has.
      {0x8790, 0x81E0}, {0x8791, 0x81DF}, {0x8792, 0x81E7}, {0x8795, 0x81E3}, {0x8796, 0x81DB},
      {0x8797, 0x81DA}, {0x879A, 0x81E6}, {0x879B, 0x81BF}, {0x879C, 0x81BE},
      // IBM extension characters that NEC row 13 or JIS X 0208 also has.
      {0xFA4A, 0x8754}, {0xFA4B, 0x8755}, {0xFA4C, 0x8756}, {0xFA4D, 0x8757}, {0xFA4E, 0x8758},
      {0xFA4F, 0x8759}, {0xFA50, 0x875A}, {0xFA51, 0x875B}, {0xFA52, 0x875C}, {0xFA53, 0x875D},
      {0xFA54, 0x81CA}, {0xFA58, 0x878A}, {0xFA59, 0x8782}, {0xFA5A, 0x8784}, {0xFA5B, 0x81E6}};
  if ((code >> 8) == 0xED || (code >> 8) == 0xEE) return -1;
  for (const auto& m : moves)
    if (m.from == code) return m.to;
  return code;
}

// Whether `bytes` are what Windows writes for `code`'s character.
inline bool IsWrittenAs(uint16_t code, const std::string& bytes) {
  const int expected = WrittenAs(code);
  if (expected >= 0) return bytes == Bytes(static_cast<uint16_t>(expected));
  if (bytes.size() != 2) return false;
  const auto got = static_cast<uint16_t>(static_cast<uint8_t>(bytes[0]) << 8 |
                                         static_cast<uint8_t>(bytes[1]));
  char16_t a = 0, b = 0;
  return Cp932ToUnicode(code, a) && Cp932ToUnicode(got, b) && a == b &&
         ((got >> 8) >= 0xFA && (got >> 8) <= 0xFC || got == 0x81CA);
}

}  // namespace tellu::text::codes
