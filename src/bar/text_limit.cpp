#include "bar/text_limit.h"

#include "text/sjis.h"

namespace tellu {

std::string CutToLimit(std::string_view text, size_t limit) {
  if (text.size() <= limit) return std::string(text);
  // Character boundaries are known only from the start: a trail byte can
  // look like a lead byte.
  size_t end = 0;
  while (end < limit) {
    size_t step = text::CharSize(text, end);
    if (end + step > limit) break;
    end += step;
  }
  return std::string(text.substr(0, end));
}

TextChange OnTextChanged(std::string_view field) {
  if (field.size() > kBarTextLimit) return {TextChange::kCut, CutToLimit(field)};
  if (!field.empty() && field.back() == '\t') return {TextChange::kSend, std::string(field)};
  return {};
}

}  // namespace tellu
