// Character boundaries in Shift-JIS text, so that a byte such as "\" or "n"
// is never mistaken inside a double-byte character.
#pragma once
#include <cstddef>
#include <string_view>

namespace tellu {

// Length in bytes of the character starting at pos: 2 for a lead byte
// (81..9F, E0..FC) followed by another byte, else 1.
inline size_t SjisCharLength(std::string_view text, size_t pos) {
  auto b = static_cast<unsigned char>(text[pos]);
  bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
  return lead && pos + 1 < text.size() ? 2 : 1;
}

}  // namespace tellu
