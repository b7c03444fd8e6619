#include "console/display_text.h"

#include "text/sjis.h"

namespace tellu {

std::string TerminalText(std::string_view sjis) {
  const std::string utf8 = text::SjisToUtf8(sjis);
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
    if (b == '\n' || b == '\t') {
      out += static_cast<char>(b);
    } else if (b < 0x20 || b == 0x7F) {
      out += '?';
    } else if (b == 0xC2 && i + 1 < utf8.size() &&
               static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
      // U+0080..U+009F: terminals take some of these as escapes.
      out += '?';
      ++i;
    } else {
      out += static_cast<char>(b);
    }
  }
  return out;
}

std::string PosixPathText(std::string_view sjis) {
  std::string slashed(sjis);
  for (size_t i = 0; i < slashed.size(); i += text::CharSize(slashed, i))
    if (slashed[i] == '\\') slashed[i] = '/';
  return TerminalText(slashed);
}

}  // namespace tellu
