// Feeds arbitrary profile values to the settings parsers: pair, list and
// message-table text against their rules written here once more; the real
// and the log-name default by their round trip and their bounds.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/value_format.h"
#include "settings/message_table.h"
#include "settings/startup.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// "%d": blanks, a sign, digits; false when no digit follows.  Beyond the
// int range the value stays at the end of it.
bool ScanInt(std::string_view s, size_t& at, int& out) {
  while (at < s.size() && (s[at] == ' ' || (s[at] >= '\t' && s[at] <= '\r'))) ++at;
  const bool minus = at < s.size() && s[at] == '-';
  if (at < s.size() && (s[at] == '-' || s[at] == '+')) ++at;
  if (at >= s.size() || s[at] < '0' || s[at] > '9') return false;
  long long v = 0;
  for (; at < s.size() && s[at] >= '0' && s[at] <= '9'; ++at)
    v = std::min<long long>(v * 10 + (s[at] - '0'), 1LL << 40);
  v = minus ? -v : v;
  out = static_cast<int>(std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, v)));
  return true;
}

tellu::Pair ExpectedPair(std::string_view s) {
  tellu::Pair p{};
  size_t at = 0;
  if (ScanInt(s, at, p.x) && at < s.size() && s[at] == ',') ScanInt(s, ++at, p.y);
  return p;
}

std::vector<std::string> ExpectedList(std::string_view s) {
  std::vector<std::string> items(1);
  for (char c : s) {
    if (c == ',')
      items.emplace_back();
    else
      items.back() += c;
  }
  std::erase(items, std::string());
  return items;
}

// A backslash that is the second byte of a double-byte character
// (lead 81..9F or E0..FC) starts no line break.
bool DoubleByte(std::string_view s, size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  const auto trail = i + 1 < s.size() ? static_cast<unsigned char>(s[i + 1]) : 0;
  return ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) && trail >= 0x40 &&
         trail <= 0xFC && trail != 0x7F;
}

tellu::MessageEntry ExpectedEntry(std::string_view s) {
  std::string text;
  for (size_t i = 0; i < s.size(); ++i) {
    if (DoubleByte(s, i)) {
      text += s.substr(i++, 2);
    } else if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n') {
      text += "\r\n";
      ++i;
    } else {
      text += s[i];
    }
  }
  const size_t eq = text.find('=');
  if (eq == std::string::npos) return {text, text};
  return {text.substr(0, eq), text.substr(eq + 1)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string value(reinterpret_cast<const char*>(data), size);
  const tellu::Pair pair = tellu::ParsePair(value);
  Check(pair == ExpectedPair(value));
  Check(tellu::ParsePair(tellu::FormatPair(pair)) == pair);
  int tenths = tellu::FontTenths(tellu::ParseReal(value));
  Check(tenths >= 0);
  Check(tellu::FontTenths(tellu::ParseReal(tellu::FormatReal(tenths / 10.0))) == tenths);
  const auto items = tellu::SplitList(value);
  Check(items == ExpectedList(value));
  Check(tellu::SplitList(tellu::JoinList(items)) == items);
  const tellu::MessageEntry entry = tellu::ParseMessageText(value);
  const tellu::MessageEntry expected = ExpectedEntry(value);
  Check(entry.label == expected.label && entry.text == expected.text);
  std::string log_name = tellu::DefaultLogName(value);
  Check(value.compare(0, log_name.size(), log_name) == 0);
  return 0;
}
