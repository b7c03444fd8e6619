// Reads one value from an INI file the way the Windows private-profile calls
// do, so chatsim host finds the server name where the real host keeps it.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace tellu::chatsim {

// The value of key in the first section named `section`: names compare ASCII
// case-insensitively, blanks around names and values are dropped, and one
// pair of matching quotes around a value is removed.  nullopt when the
// section or the key is missing.  Bytes of other lines are never interpreted,
// so Shift-JIS values elsewhere do no harm.
std::optional<std::string> IniValue(std::string_view contents, std::string_view section,
                                    std::string_view key);

// The same on a file; nullopt also when the file cannot be read.
std::optional<std::string> ReadIniValue(const std::string& path, std::string_view section,
                                        std::string_view key);

}  // namespace tellu::chatsim
