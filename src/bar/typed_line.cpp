#include "bar/typed_line.h"

#include <cstdint>

#include "bar/text_limit.h"
#include "text/sjis.h"

namespace tellu {

std::vector<std::string> TypedLineSends(std::string_view field, std::string_view typed) {
  std::vector<std::string> sends;
  std::string current(field);
  size_t i = 0;
  while (i < typed.size()) {
    // A double-byte character arrives in the field whole.
    size_t step = text::CharSize(typed, i);
    current.append(typed.substr(i, step));
    i += step;
    const TextChange change = OnTextChanged(current);
    if (change.action == TextChange::kCut) {
      current = change.text;
    } else if (change.action == TextChange::kSend) {
      sends.push_back(std::move(current));
      current.clear();
    }
  }
  sends.push_back(std::move(current));
  return sends;
}

}  // namespace tellu
