// The bar's refusal of a field that holds a character Shift-JIS cannot hold:
// what the edit selects and what the balloon on it says.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tellu {

// "この文字は送信できません: " and the English line under it; each is followed by
// the character (or "U+XXXX" for one that cannot be drawn).
inline constexpr char kUnsendableJapanese[] =
    "\x82\xB1\x82\xCC\x95\xB6\x8E\x9A\x82\xCD\x91\x97\x90\x4D\x82\xC5\x82\xAB\x82\xDC\x82\xB9"
    "\x82\xF1: ";
inline constexpr char kUnsendableEnglish[] = "This character cannot be sent: ";

struct UnsendableField {
  size_t start = 0;  // the first such character, in UTF-16 units of the field
  size_t end = 0;
  std::u16string text;  // the balloon's two lines, CR LF between them
};

// Nothing when every character of the field can be sent as typed.
std::optional<UnsendableField> FindUnsendableField(std::u16string_view field);

}  // namespace tellu
