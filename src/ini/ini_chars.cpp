#include "ini/ini_chars.h"

#include "text/sjis.h"
#include "text/sjis_char.h"

namespace tellu::ini {
namespace {

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

size_t NextChar(std::string_view s, size_t i) {
  return i + text::CharSize(s, i);
}

std::string_view TrimLeft(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  return s.substr(i);
}

std::string_view TrimRight(std::string_view s) {
  // Walk forward so that a blank byte is never mistaken for a trail byte.
  size_t end = 0;
  for (size_t i = 0; i < s.size();) {
    size_t next = NextChar(s, i);
    if (next - i == 2 || !IsBlank(s[i])) end = next;
    i = next;
  }
  return s.substr(0, end);
}

std::string_view Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

std::string_view CutAtNul(std::string_view s) {
  size_t nul = s.find('\0');
  return nul == std::string_view::npos ? s : s.substr(0, nul);
}

size_t FindLast(std::string_view s, char c) {
  size_t found = std::string_view::npos;
  for (size_t i = 0; i < s.size(); i = NextChar(s, i))
    if (s[i] == c) found = i;
  return found;
}

bool NamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size();) {
    size_t next = NextChar(a, i);
    if (next - i == 2) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
    } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
      return false;
    }
    i = next;
  }
  return true;
}

}  // namespace tellu::ini
