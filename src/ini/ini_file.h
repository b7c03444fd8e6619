// One private-profile (INI) file on the Files port, read and written by the
// project's own engine with the platform's rules, so Shift-JIS values and
// every untouched byte of the file survive on any system.
#pragma once
#include <string>

#include "platform/files.h"
#include "platform/profile.h"

namespace tellu {

class IniFile : public Profile {
 public:
  IniFile(Files& files, std::string path) : files_(files), path_(std::move(path)) {}

  // Each call reads the file afresh: it is small, and other programs edit it.
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& default_value, size_t buffer_size = 4096) override;
  int GetInt(const std::string& section, const std::string& key, int default_value) override;
  // The value is cut at its first line break or NUL (the rest could not be
  // read back).  False, and the file untouched, when a name cannot be
  // written so as to be found again or the file cannot be read or written.
  bool WriteString(const std::string& section, const std::string& key,
                   const std::string& value) override;

  const std::string& path() const { return path_; }

 private:
  Files& files_;
  std::string path_;
};

}  // namespace tellu
