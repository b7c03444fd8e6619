#include "text/paths.h"

#include "text/sjis.h"

namespace tellu {

bool EndsWithBackslash(std::string_view path) {
  // Stepping by characters: the last byte may be a trail byte 5C.
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); i += text::CharSize(path, i)) last = i;
  return last != std::string_view::npos && last + 1 == path.size() && path[last] == '\\';
}

std::string WithTrailingBackslash(std::string_view dir) {
  if (dir.empty() || EndsWithBackslash(dir)) return std::string(dir);
  return std::string(dir) + "\\";
}

std::string WithoutTrailingBackslash(std::string_view dir) {
  while (EndsWithBackslash(dir)) dir.remove_suffix(1);
  return std::string(dir);
}

std::string JoinPath(std::string_view dir, std::string_view name) {
  return WithTrailingBackslash(dir) + std::string(name);
}

std::size_t FileNameStart(std::string_view path) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); i += text::CharSize(path, i))
    if (path[i] == '\\' || path[i] == '/' || path[i] == ':') start = i + 1;
  return start;
}

std::string_view FileNamePart(std::string_view path) { return path.substr(FileNameStart(path)); }

}  // namespace tellu
