// Windows-style paths on Shift-JIS bytes, where a backslash byte may be the
// second half of a double-byte character and must not count as a separator.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace tellu {

bool EndsWithBackslash(std::string_view path);
// "" stays ""; otherwise exactly one backslash at the end.
std::string WithTrailingBackslash(std::string_view dir);
std::string WithoutTrailingBackslash(std::string_view dir);
// dir + "\" + name, without doubling a backslash that dir ends with.
std::string JoinPath(std::string_view dir, std::string_view name);
// Where the file name starts: just past the last "\", "/" or ":", 0 when
// there is none.
std::size_t FileNameStart(std::string_view path);
// The part after the last "\", "/" or ":".
std::string_view FileNamePart(std::string_view path);

}  // namespace tellu
