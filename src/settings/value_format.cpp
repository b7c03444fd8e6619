#include "settings/value_format.h"

#include <charconv>
#include <climits>
#include <cmath>

namespace tellu {
namespace {

// Larger sizes cannot be a font a window could use; treating them as the
// default keeps a hand-edited value from reaching the font engine.
constexpr int kMaxFontTenths = 16383;

bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "%d": skips blanks, reads an optional sign and at least one digit.
bool ScanInt(std::string_view text, size_t& pos, int& out) {
  size_t p = pos;
  while (p < text.size() && IsCSpace(text[p])) ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
    negative = text[p] == '-';
    ++p;
  }
  if (p >= text.size() || !IsDigit(text[p])) return false;
  long long value = 0;
  for (; p < text.size() && IsDigit(text[p]); ++p) {
    if (value <= static_cast<long long>(INT_MAX) + 1) value = value * 10 + (text[p] - '0');
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  if (value < INT_MIN) value = INT_MIN;
  out = static_cast<int>(value);
  pos = p;
  return true;
}

}  // namespace

std::string FormatReal(double value) {
  char buf[400];
  auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 1);
  std::string text(buf, result.ptr);
  if (text.size() < 4) text.insert(0, 4 - text.size(), ' ');
  return text;
}

double ParseReal(std::string_view text) {
  size_t p = 0;
  while (p < text.size() && IsCSpace(text[p])) ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
    negative = text[p] == '-';
    ++p;
  }
  // from_chars takes its own minus sign; a second sign is not a number.
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) return 0.0;
  double value = 0.0;
  auto result = std::from_chars(text.data() + p, text.data() + text.size(), value,
                                std::chars_format::general);
  if (result.ec != std::errc()) return 0.0;
  return negative ? -value : value;
}

std::string FormatPair(Pair pair) {
  return std::to_string(pair.x) + "," + std::to_string(pair.y);
}

Pair ParsePair(std::string_view text) {
  Pair pair;
  size_t pos = 0;
  if (!ScanInt(text, pos, pair.x)) return pair;
  if (pos >= text.size() || text[pos] != ',') return pair;
  ++pos;
  ScanInt(text, pos, pair.y);
  return pair;
}

std::string JoinList(const std::vector<std::string>& items) {
  std::string joined;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) joined += ',';
    joined += items[i];
  }
  return joined;
}

std::vector<std::string> SplitList(std::string_view text) {
  std::vector<std::string> items;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(',', start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) items.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return items;
}

int FontTenths(double points) {
  if (!std::isfinite(points)) return 0;
  double tenths = std::round(points * 10.0);
  if (tenths < 0 || tenths > kMaxFontTenths) return 0;
  return static_cast<int>(tenths);
}

}  // namespace tellu
