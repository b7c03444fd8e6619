// Feeds arbitrary bytes to the display conversions as Shift-JIS, UTF-8 and
// UTF-16, and checks that their results are stable under another trip.
#include <cstddef>
#include <cstdint>
#include <string>

#include "text/sjis.h"

using namespace tellu::text;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  const std::u16string wide = SjisToUtf16(bytes);
  const std::string narrow = SjisToUtf8(bytes);
  if (wide.size() > bytes.size()) __builtin_trap();
  if (SjisToUtf16(Utf16ToSjis(wide)) != wide) __builtin_trap();
  if (Utf8ToSjis(narrow) != Utf16ToSjis(wide)) __builtin_trap();

  const std::string typed = Utf8ToSjis(bytes);
  if (Utf8ToSjis(SjisToUtf8(typed)) != typed) __builtin_trap();

  std::u16string units(size / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  }
  const std::string typed16 = Utf16ToSjis(units);
  if (Utf16ToSjis(SjisToUtf16(typed16)) != typed16) __builtin_trap();
  return 0;
}
