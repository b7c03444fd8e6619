#include "text/typed_text.h"

#include <cstdio>
#include <vector>

#include "text/sjis.h"

namespace tellu {
namespace {

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  }
  out += static_cast<char>(0x80 | (c & 0x3F));
}

std::string Refusal(std::string_view typed, const std::vector<text::Unsendable>& found) {
  if (found.empty()) return {};
  std::string out = "not sent: Shift-JIS cannot hold ";
  for (size_t i = 0; i < found.size(); ++i) {
    const text::Unsendable& u = found[i];
    if (i > 0) out += ", ";
    char code[32];
    if (u.broken) {
      out += "ill-formed UTF-8";
      for (size_t k = 0; k < u.size; ++k) {
        std::snprintf(code, sizeof code, " %02X", static_cast<unsigned char>(typed[u.offset + k]));
        out += code;
      }
      continue;
    }
    if (text::DrawnAsItself(u.code_point)) {
      AppendUtf8(out, u.code_point);
      out += ' ';
    }
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(u.code_point));
    out += code;
  }
  return out;
}

}  // namespace

TypedLine TypedText(std::string_view utf8) {
  // Checked before the conversion, which would put "?" in their place.
  std::string refused = Refusal(utf8, text::FindUnsendableUtf8(utf8));
  if (!refused.empty()) return {{}, std::move(refused)};
  return {text::Utf8ToSjis(utf8), {}};
}

TypedLine TypedText(std::u16string_view utf16) {
  std::string refused = Refusal({}, text::FindUnsendable(utf16));
  if (!refused.empty()) return {{}, std::move(refused)};
  return {text::Utf16ToSjis(utf16), {}};
}

TypedLine TypedSjis(std::string_view sjis) {
  const size_t bad = text::FindUnmapped(sjis);
  if (bad == std::string_view::npos) return {std::string(sjis), {}};
  char refused[96];
  std::snprintf(refused, sizeof refused, "not sent: byte %02X at %zu is no Shift-JIS character",
                static_cast<unsigned char>(sjis[bad]), bad);
  return {{}, refused};
}

}  // namespace tellu
