// Feeds arbitrary bytes to the display conversions as Shift-JIS, UTF-8 and
// UTF-16, and checks that their results are stable under another trip; and
// that typed text is refused exactly when it would not come back as typed.
#include <cstddef>
#include <cstdint>
#include <string>

#include "text/sjis.h"
#include "text/sjis_char.h"

using namespace tellu::text;

namespace {

// The readings typed text may use for a code whose Windows reading differs:
// what comes back for each.
constexpr struct {
  char16_t typed, back;
} kReadings[] = {{u'\u301C', u'\uFF5E'}, {u'\u2016', u'\u2225'}, {u'\u2212', u'\uFF0D'},
                 {u'\u2014', u'\u2015'}, {u'\u00A5', u'\u005C'}, {u'\u00A2', u'\uFFE0'},
                 {u'\u00A3', u'\uFFE1'}, {u'\u00AC', u'\uFFE2'}};

std::u16string AsReadBack(std::u16string s) {
  for (char16_t& c : s)
    for (const auto& r : kReadings)
      if (c == r.typed) c = r.back;
  return s;
}

// Each reading starts with a lead byte, which no other sequence holds.
std::string AsReadBack(std::string s) {
  for (const auto& r : kReadings) {
    std::string typed, back;
    AppendUtf8(typed, r.typed);
    AppendUtf8(back, r.back);
    for (size_t at = 0; (at = s.find(typed, at)) != std::string::npos; at += back.size())
      s.replace(at, typed.size(), back);
  }
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  const std::u16string wide = SjisToUtf16(bytes);
  const std::string narrow = SjisToUtf8(bytes);
  if (wide.size() > bytes.size()) __builtin_trap();
  if (SjisToUtf16(Utf16ToSjis(wide)) != wide) __builtin_trap();
  if (Utf8ToSjis(narrow) != Utf16ToSjis(wide)) __builtin_trap();

  const std::string typed = Utf8ToSjis(bytes);
  if (Utf8ToSjis(SjisToUtf8(typed)) != typed) __builtin_trap();
  const bool refused = !FindUnsendableUtf8(bytes).empty();
  if (refused != (SjisToUtf8(typed) != AsReadBack(bytes))) __builtin_trap();

  std::u16string units(size / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  }
  const std::string typed16 = Utf16ToSjis(units);
  if (Utf16ToSjis(SjisToUtf16(typed16)) != typed16) __builtin_trap();
  const bool refused16 = !FindUnsendable(units).empty();
  if (refused16 != (SjisToUtf16(typed16) != AsReadBack(units))) __builtin_trap();

  // Shift-JIS that is valid code page 932 reads without a mark of its own.
  const size_t unmapped = FindUnmapped(bytes);
  if (unmapped != std::string::npos && unmapped >= bytes.size()) __builtin_trap();
  if (unmapped == std::string::npos && wide.find(u'\u30FB') != std::u16string::npos &&
      bytes.find("\x81\x45") == std::string::npos)
    __builtin_trap();
  return 0;
}
