// Profile: the small interface through which settings and configuration are
// read and written (the private-profile calls of Windows: read integer, read
// string, write string).  IniFile is the project's own engine behind it.
#pragma once
#include <string>

namespace tellu {

class Profile {
 public:
  virtual ~Profile() = default;
  // The value of key in section, cut to buffer_size - 1 bytes, or the default
  // when the section or key is missing.  Names compare ASCII case-insensitively.
  virtual std::string GetString(const std::string& section, const std::string& key,
                                const std::string& default_value, size_t buffer_size = 4096) = 0;
  // GetPrivateProfileInt's rule on the value; the default when missing.
  virtual int GetInt(const std::string& section, const std::string& key, int default_value) = 0;
  // Writes the value at once; false when the file could not be written.
  virtual bool WriteString(const std::string& section, const std::string& key,
                           const std::string& value) = 0;
};

}  // namespace tellu
