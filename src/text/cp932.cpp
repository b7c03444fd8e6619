// Lookups in the generated code page 932 table.
#include <algorithm>
#include <iterator>

#include "text/cp932_table.h"
#include "text/sjis.h"
#include "text/sjis_char.h"

namespace tellu::text {
namespace {

bool Find(const uint32_t* begin, size_t size, char32_t c, uint16_t& out) {
  if (c > 0xFFFF) return false;
  const uint32_t* end = begin + size;
  const uint32_t key = static_cast<uint32_t>(c) << 16;
  const uint32_t* it = std::lower_bound(begin, end, key);
  if (it == end || (*it >> 16) != c) return false;
  out = static_cast<uint16_t>(*it & 0xFFFF);
  return true;
}

int TrailIndex(uint8_t trail) {
  return trail < 0x80 ? trail - 0x40 : trail - 0x41;
}

struct Variant {
  char16_t unicode;
  uint16_t code;
};

// The JIS X 0208 mapping (used by EUC-JP and most non-Windows input) reads
// these codes differently from Windows.
constexpr Variant kJisVariants[] = {
    {u'\u2014', 0x815C},  // em dash / "―"
    {u'\u2016', 0x8161},  // double vertical line / "∥"
    {u'\u2212', 0x817C},  // minus sign / "－"
    {u'\u301C', 0x8160},  // wave dash / "～"
};

// Windows takes these only as best-fit guesses, but JIS X 0208 (and so
// other systems' Shift-JIS) reads the codes as exactly these characters.
constexpr Variant kOtherReadings[] = {
    {u'\u00A2', 0x8191},  // cent sign / "￠"
    {u'\u00A3', 0x8192},  // pound sign / "￡"
    {u'\u00A5', 0x005C},  // yen sign / 5C
    {u'\u00AC', 0x81CA},  // not sign / "￢"
};

}  // namespace

bool IsLeadByte(uint8_t b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool IsTrailByte(uint8_t b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

size_t CharSize(std::string_view sjis, size_t pos) {
  return IsLeadByte(static_cast<uint8_t>(sjis[pos])) && pos + 1 < sjis.size() &&
                 IsTrailByte(static_cast<uint8_t>(sjis[pos + 1]))
             ? 2
             : 1;
}

size_t FindChar(std::string_view sjis, char c, size_t from) {
  // Boundaries are known only from the start: a trail byte can look like a lead.
  for (size_t i = 0; i < sjis.size(); i += CharSize(sjis, i))
    if (i >= from && sjis[i] == c) return i;
  return std::string_view::npos;
}

bool Cp932ToUnicode(uint16_t sjis, char16_t& out) {
  if (sjis < 0x100) {
    const char16_t c = cp932::kSingle[sjis];
    if (c == 0xFFFF) return false;
    out = c;
    return true;
  }
  const uint8_t lead = sjis >> 8;
  const uint8_t trail = sjis & 0xFF;
  const uint8_t row = cp932::kRowOfLead[lead];
  if (row == 0xFF || !IsTrailByte(trail)) return false;
  const char16_t c = cp932::kRows[row][TrailIndex(trail)];
  if (c == 0) return false;
  out = c;
  return true;
}

bool UnicodeToCp932(char16_t unicode, uint16_t& out) {
  return Find(cp932::kEncode, cp932::kEncodeSize, unicode, out);
}

bool ExactToCp932(char32_t c, uint16_t& out) {
  if (c <= 0xFFFF && UnicodeToCp932(static_cast<char16_t>(c), out)) return true;
  for (const Variant& v : kJisVariants) {
    if (v.unicode == c) {
      out = v.code;
      return true;
    }
  }
  return false;
}

bool SendableToCp932(char32_t c, uint16_t& out) {
  if (ExactToCp932(c, out)) return true;
  for (const Variant& v : kOtherReadings) {
    if (v.unicode == c) {
      out = v.code;
      return true;
    }
  }
  return false;
}

bool TypedToCp932(char32_t c, uint16_t& out) {
  return ExactToCp932(c, out) || Find(cp932::kBestFit, cp932::kBestFitSize, c, out);
}

SjisChar NextSjisChar(std::string_view text, size_t pos) {
  SjisChar ch;
  const uint8_t b = static_cast<uint8_t>(text[pos]);
  ch.code = b;
  if (IsLeadByte(b)) {
    if (pos + 1 < text.size() && IsTrailByte(static_cast<uint8_t>(text[pos + 1]))) {
      ch.size = 2;
      ch.code = static_cast<uint16_t>(b << 8 | static_cast<uint8_t>(text[pos + 1]));
    } else {
      ch.mapped = false;
      ch.unicode = kNoChar;
      return ch;
    }
  }
  if (!Cp932ToUnicode(ch.code, ch.unicode)) {
    ch.mapped = false;
    ch.unicode = kNoChar;
  }
  return ch;
}

void AppendCode(std::string& out, uint16_t code) {
  if (code > 0xFF) out += static_cast<char>(code >> 8);
  out += static_cast<char>(code & 0xFF);
}

void AppendUtf8(std::string& out, char16_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace tellu::text
