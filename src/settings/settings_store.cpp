#include "settings/settings_store.h"

#include <utility>

#include "settings/value_format.h"
#include "settings/keys.h"

namespace tellu {

SettingsStore::SettingsStore(Profile& profile, std::string slot_section) : profile_(profile) {
  settings_.slot_section = std::move(slot_section);
}

int SettingsStore::ReadInt(const std::string& key, int default_value) {
  return profile_.GetInt(section(), key, default_value);
}

std::string SettingsStore::ReadText(const std::string& key, const std::string& default_value) {
  return profile_.GetString(section(), key, default_value);
}

Pair SettingsStore::ReadPoint(const std::string& key) {
  return ParsePair(ReadText(key, "0,0"));
}

double SettingsStore::ReadReal(const std::string& key) {
  return ParseReal(ReadText(key, "0.0"));
}

void SettingsStore::WriteInt(const std::string& key, int value) {
  WriteText(key, std::to_string(value));
}

void SettingsStore::WriteText(const std::string& key, const std::string& value) {
  // A failed write changes nothing the program could act on; the next start
  // simply reads what the file holds.
  profile_.WriteString(section(), key, value);
}

void SettingsStore::WritePoint(const std::string& key, int x, int y) {
  WriteText(key, FormatPair({x, y}));
}

void SettingsStore::WriteReal(const std::string& key, double value) {
  WriteText(key, FormatReal(value));
}

void SettingsStore::ForgetLogName() {
  settings_.log_chk = 0;
  WriteText(keys::kLogName, "");
}

}  // namespace tellu
