#include "ini.h"

#include <fstream>
#include <sstream>

namespace tellu::chatsim {
namespace {

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> IniValue(std::string_view contents, std::string_view section,
                                    std::string_view key) {
  if (contents.substr(0, 3) == "\xef\xbb\xbf") contents.remove_prefix(3);
  bool inside = false;
  while (!contents.empty()) {
    const std::size_t end = contents.find('\n');
    std::string_view line = Trim(contents.substr(0, end));
    contents.remove_prefix(end == std::string_view::npos ? contents.size() : end + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      if (inside) break;  // only the first section of that name counts
      const std::size_t close = line.find(']');
      std::string_view name = line.substr(1, close == std::string_view::npos ? line.npos : close - 1);
      inside = SameName(Trim(name), section);
      continue;
    }
    if (!inside) continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || !SameName(Trim(line.substr(0, eq)), key)) continue;
    std::string_view value = Trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    return std::string(value);
  }
  return std::nullopt;
}

std::optional<std::string> ReadIniValue(const std::string& path, std::string_view section,
                                        std::string_view key) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return IniValue(text.str(), section, key);
}

}  // namespace tellu::chatsim
