#include "avatar/address.h"

#include <cstdint>

#include "text/sjis.h"

namespace tellu {
namespace {

uint8_t Byte(char c) { return static_cast<uint8_t>(c); }

// One "%d" as the C library scans it: blanks, a sign, digits.  Large values
// saturate so that they never alias a small one.
bool ScanInt(std::string_view s, std::size_t& i, long long& out) {
  while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  std::size_t start = i;
  long long value = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
    if (value < 1000000000LL) value = value * 10 + (s[i] - '0');
  if (i == start) return false;
  out = negative ? -value : value;
  return true;
}

}  // namespace

std::string EncodeAddress(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    uint8_t v = Byte(c);
    if (v == 0x20) {
    } else if (v <= 0x39) {
      v = static_cast<uint8_t>(v + 0x80);
    } else if (v >= 0x80) {
      v = static_cast<uint8_t>(v - 0x80);
    } else if (v >= 0x41 && v <= 0x46) {
      v = static_cast<uint8_t>(v + 0x79);
    } else if (v >= 0x61 && v <= 0x7A) {
      v = static_cast<uint8_t>(v - 0x60);
    }
    out += static_cast<char>(v);
  }
  return out;
}

std::string DecodeAddress(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    uint8_t v = Byte(c);
    if (v >= 0xC0)
      v = static_cast<uint8_t>(v - 0x60);
    else if (v >= 0x80)
      v = static_cast<uint8_t>(v - 0x80);
    out += static_cast<char>(v);
  }
  return out;
}

bool IsLocalAddress(std::string_view text) {
  if (text.find('.') == std::string_view::npos) return true;
  long long a = 0, b = 0;
  std::size_t i = 0;
  if (ScanInt(text, i, a) && i < text.size() && text[i] == '.') {
    ++i;
    if (!ScanInt(text, i, b)) b = 0;
  }
  return a == 10 || (a == 172 && b >= 16 && b <= 31) || (a == 192 && b == 168);
}

bool IsDottedAddress(std::string_view text) {
  int parts = 0;
  std::size_t i = 0;
  while (true) {
    std::size_t start = i;
    int value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 3; ++i)
      value = value * 10 + (text[i] - '0');
    if (i == start || value > 255) return false;
    if (++parts == 4) return i == text.size();
    if (i >= text.size() || text[i] != '.') return false;
    ++i;
  }
}

bool IsAvatarFileName(std::string_view name) {
  if (name.empty() || name[0] == '\\' || name[0] == '/') return false;
  if (name.find("..") != std::string_view::npos) return false;
  if (name.find(':') != std::string_view::npos) return false;
  for (char c : name)
    if (Byte(c) < 0x20) return false;
  // Upper case for single-byte letters only: the second byte of a
  // double-byte character keeps its value.
  std::string upper(name);
  for (std::size_t i = 0; i < upper.size(); i += text::CharSize(upper, i)) {
    if (upper[i] >= 'a' && upper[i] <= 'z') upper[i] = static_cast<char>(upper[i] - 'a' + 'A');
  }
  std::string_view tail(upper);
  if (tail.size() > 4) tail = tail.substr(tail.size() - 4);
  return tail == ".MOV";
}

std::size_t FirstBackslash(std::string_view text) {
  return text::FindChar(text, '\\');
}

std::string_view AfterFirstBackslash(std::string_view reference) {
  std::size_t p = FirstBackslash(reference);
  return p == std::string_view::npos ? reference : reference.substr(p + 1);
}

}  // namespace tellu
