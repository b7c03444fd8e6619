// Profile port: the profile-file values settings and configuration are read
// from and written to (the private-profile calls of Windows: read integer,
// read string, write string).  The app layer's IniFile engine implements it.
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
