#include "app/paths.h"

#include "app/ini_chars.h"

namespace tellu {
namespace {

// Index just past the last separator character, 0 when there is none.
size_t AfterLastSeparator(std::string_view path) {
  size_t after = 0;
  for (size_t i = 0; i < path.size(); i = ini::NextChar(path, i))
    if (path[i] == '\\' || path[i] == '/' || path[i] == ':') after = i + 1;
  return after;
}

}  // namespace

bool EndsWithBackslash(std::string_view path) {
  size_t last = ini::FindLast(path, '\\');
  return last != std::string_view::npos && last + 1 == path.size();
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

std::string_view FileNamePart(std::string_view path) {
  return path.substr(AfterLastSeparator(path));
}

}  // namespace tellu
