// Character boundaries in Shift-JIS text, so that a byte such as "\" or "n"
// is never mistaken inside a double-byte character.
#pragma once
#include <cstddef>
#include <string_view>

namespace tellu {

// Length in bytes of the character starting at pos: 2 for a lead byte
// (81..9F, E0..FC) followed by a trail byte (40..7E, 80..FC), else 1, so a
// broken lead never swallows the ASCII byte after it.
inline size_t SjisCharLength(std::string_view text, size_t pos) {
  auto b = static_cast<unsigned char>(text[pos]);
  bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
  if (!lead || pos + 1 >= text.size()) return 1;
  auto t = static_cast<unsigned char>(text[pos + 1]);
  bool trail = (t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC);
  return trail ? 2 : 1;
}

}  // namespace tellu
