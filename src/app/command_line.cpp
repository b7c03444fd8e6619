#include "app/command_line.h"

#include <cstdint>

#include "text/sjis.h"

namespace tellu {

int CommandLineSlot(std::string_view line) {
  int slot = 0;
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (text::CharSize(line, i) == 2) {
      i += 2;
      continue;
    }
    if (c != 'S' && c != 's') {
      ++i;
      continue;
    }
    const char next = i + 1 < line.size() ? line[i + 1] : '\0';
    if (next >= '1' && next <= '8') {
      slot = next - '0';
      i += 2;
    } else {
      // The character after it is read afresh: "SS2" still chooses slot 2.
      slot = 0;
      ++i;
    }
  }
  return slot;
}

}  // namespace tellu
