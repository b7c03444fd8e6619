#include "ini/profile_value.h"

#include <cstdint>

#include "ini/ini_chars.h"

namespace tellu::ini {

std::string_view ShapeDefault(std::string_view value) {
  value = CutAtNul(value);
  while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
  return value;
}

std::string_view StripQuotes(std::string_view value) {
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
    return value.substr(1, value.size() - 2);
  return value;
}

std::string CutToBuffer(std::string_view value, size_t buffer_size) {
  if (buffer_size == 0) return {};
  size_t limit = buffer_size - 1;
  if (value.size() <= limit) return std::string(value);
  size_t end = 0;
  for (size_t i = 0; i < value.size();) {
    size_t next = NextChar(value, i);
    if (next > limit) break;
    end = next;
    i = next;
  }
  return std::string(value.substr(0, end));
}

int ProfileInt(std::string_view value) {
  size_t i = 0;
  while (i < value.size() && static_cast<unsigned char>(value[i]) <= ' ') ++i;
  bool minus = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) minus = value[i++] == '-';
  uint32_t base = 10;
  if (value.size() - i >= 2 && value[i] == '0') {
    switch (value[i + 1]) {
      case 'x': base = 16; i += 2; break;
      case 'o': base = 8; i += 2; break;
      case 'b': base = 2; i += 2; break;
      default: break;
    }
  }
  uint32_t total = 0;
  for (; i < value.size(); ++i) {
    char c = value[i];
    uint32_t digit;
    if (c >= '0' && c <= '9') digit = static_cast<uint32_t>(c - '0');
    else if (c >= 'A' && c <= 'Z') digit = static_cast<uint32_t>(c - 'A' + 10);
    else if (c >= 'a' && c <= 'z') digit = static_cast<uint32_t>(c - 'a' + 10);
    else break;
    if (digit >= base) break;
    total = total * base + digit;
  }
  return static_cast<int>(minus ? 0u - total : total);
}

}  // namespace tellu::ini
