// Conversions for what the front ends show and what the user types: Windows'
// own code page 932 reading, with a visible mark for anything it cannot map.
#include "text/sjis.h"
#include "text/sjis_char.h"

namespace tellu::text {
namespace {

void AppendTyped(std::string& out, char32_t c) {
  uint16_t code;
  if (TypedToCp932(c, code)) {
    AppendCode(out, code);
  } else {
    out += '?';
  }
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Decodes one UTF-8 character at `pos`; `size` is set to the bytes taken.
// An ill-formed sequence takes its longest well-formed start (at least one
// byte) and returns false: the usual rule, so each break costs one mark.
bool NextUtf8(std::string_view s, size_t pos, size_t& size, char32_t& c) {
  const uint8_t b = static_cast<uint8_t>(s[pos]);
  size = 1;
  size_t extra;
  uint8_t lo = 0x80, hi = 0xBF;  // the bounds of the second byte
  if (b < 0x80) {
    c = b;
    return true;
  } else if (b >= 0xC2 && b <= 0xDF) {
    extra = 1;
    c = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    extra = 2;
    c = b & 0x0F;
    if (b == 0xE0) lo = 0xA0;  // overlong
    if (b == 0xED) hi = 0x9F;  // surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    extra = 3;
    c = b & 0x07;
    if (b == 0xF0) lo = 0x90;  // overlong
    if (b == 0xF4) hi = 0x8F;  // beyond U+10FFFF
  } else {
    return false;
  }
  for (size_t k = 1; k <= extra; ++k) {
    if (pos + k >= s.size()) return false;
    const uint8_t t = static_cast<uint8_t>(s[pos + k]);
    if (t < lo || t > hi) return false;
    lo = 0x80;
    hi = 0xBF;
    c = c << 6 | (t & 0x3F);
    size = k + 1;
  }
  return true;
}

}  // namespace

std::u16string SjisToUtf16(std::string_view sjis) {
  std::u16string out;
  for (size_t i = 0; i < sjis.size();) {
    SjisChar ch = NextSjisChar(sjis, i);
    i += ch.size;
    out += ch.unicode;
  }
  return out;
}

std::string SjisToUtf8(std::string_view sjis) {
  std::string out;
  for (size_t i = 0; i < sjis.size();) {
    SjisChar ch = NextSjisChar(sjis, i);
    i += ch.size;
    AppendUtf8(out, ch.unicode);
  }
  return out;
}

std::string Utf16ToSjis(std::u16string_view utf16) {
  std::string out;
  for (size_t i = 0; i < utf16.size(); ++i) {
    const char16_t c = utf16[i];
    if (IsHighSurrogate(c) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
      ++i;  // no character beyond U+FFFF has a code: one mark for the pair
      out += '?';
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      out += '?';
    } else {
      AppendTyped(out, c);
    }
  }
  return out;
}

bool Utf16ToSjisExact(std::u16string_view utf16, std::string& out) {
  out.clear();
  for (char16_t c : utf16) {
    uint16_t code;
    // A surrogate has no code: pairs fail here as their halves.
    if (!ExactToCp932(c, code)) return false;
    AppendCode(out, code);
  }
  return true;
}

std::vector<Unsendable> FindUnsendable(std::u16string_view utf16) {
  std::vector<Unsendable> found;
  for (size_t i = 0; i < utf16.size(); ++i) {
    const char16_t c = utf16[i];
    uint16_t code;
    if (IsHighSurrogate(c) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
      const char32_t pair = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      found.push_back({i, 2, pair, false});
      ++i;
    } else if (!SendableToCp932(c, code)) {
      // A lone surrogate has no code either.
      found.push_back({i, 1, c, false});
    }
  }
  return found;
}

std::vector<Unsendable> FindUnsendableUtf8(std::string_view utf8) {
  std::vector<Unsendable> found;
  for (size_t i = 0; i < utf8.size();) {
    size_t size;
    char32_t c;
    uint16_t code;
    if (!NextUtf8(utf8, i, size, c))
      found.push_back({i, size, 0xFFFD, true});
    else if (!SendableToCp932(c, code))
      found.push_back({i, size, c, false});
    i += size;
  }
  return found;
}

bool DrawnAsItself(char32_t c) {
  return c >= 0xA0 && !(c >= 0xD800 && c <= 0xDFFF) && !(c >= 0x2000 && c <= 0x200F) &&
         !(c >= 0x2028 && c <= 0x202E) && !(c >= 0x2060 && c <= 0x206F) && c != 0xFEFF &&
         c <= 0x10FFFF;
}

size_t FindUnmapped(std::string_view sjis) {
  for (size_t i = 0; i < sjis.size();) {
    const SjisChar ch = NextSjisChar(sjis, i);
    if (!ch.mapped) return i;
    i += ch.size;
  }
  return std::string_view::npos;
}

std::string Utf8ToSjis(std::string_view utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    size_t size;
    char32_t c;
    if (NextUtf8(utf8, i, size, c)) {
      AppendTyped(out, c);
    } else {
      out += '?';
    }
    i += size;
  }
  return out;
}

}  // namespace tellu::text
