// Every code the code page 932 table decodes, for tests that sweep the table.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "text/sjis.h"

namespace tellu::text::testing {

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

}  // namespace tellu::text::testing
