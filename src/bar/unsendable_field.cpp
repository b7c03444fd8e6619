#include "bar/unsendable_field.h"

#include <cstdio>

#include "text/sjis.h"

namespace tellu {

std::optional<UnsendableField> FindUnsendableField(std::u16string_view field) {
  const auto found = text::FindUnsendable(field);
  if (found.empty()) return std::nullopt;
  const text::Unsendable& first = found.front();
  std::u16string shown;
  if (text::DrawnAsItself(first.code_point)) {
    shown = field.substr(first.offset, first.size);
  } else {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(first.code_point));
    shown = text::SjisToUtf16(code);
  }
  UnsendableField refusal;
  refusal.start = first.offset;
  refusal.end = first.offset + first.size;
  refusal.text = text::SjisToUtf16(kUnsendableJapanese) + shown + u"\r\n" +
                 text::SjisToUtf16(kUnsendableEnglish) + shown;
  return refusal;
}

}  // namespace tellu
