#include "ini/ini_file.h"

#include "ini/ini_text.h"
#include "ini/profile_value.h"

namespace tellu {

std::string IniFile::GetString(const std::string& section, const std::string& key,
                               const std::string& default_value, size_t buffer_size) {
  std::string bytes;
  if (!files_.ReadAll(path_, bytes)) bytes.clear();
  ini::IniText text(bytes);
  std::string_view value = text.Find(section, key).value_or(ini::ShapeDefault(default_value));
  return ini::CutToBuffer(ini::StripQuotes(value), buffer_size);
}

int IniFile::GetInt(const std::string& section, const std::string& key, int default_value) {
  // The platform reads the value into a 30-byte buffer first.
  std::string value = GetString(section, key, "", 30);
  if (value.empty()) return default_value;
  return ini::ProfileInt(value);
}

bool IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
  if (!ini::ValidSection(section) || !ini::ValidKey(key)) return false;
  std::string_view line_value = value;
  line_value = line_value.substr(0, line_value.find_first_of(std::string_view("\r\n\0", 3)));

  std::string bytes;
  if (files_.Exists(path_) && !files_.ReadAll(path_, bytes)) return false;
  std::string patched = ini::IniText(bytes).With(section, key, line_value);
  if (patched == bytes && files_.Exists(path_)) return true;
  return files_.WriteAll(path_, patched);
}

}  // namespace tellu
