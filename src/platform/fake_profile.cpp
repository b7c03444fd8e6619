#include "platform/fake_profile.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace tellu {
namespace {

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

}  // namespace

std::string FakeProfile::GetString(const std::string& section, const std::string& key,
                                   const std::string& default_value, size_t buffer_size) {
  reads.push_back({section, key, ""});
  auto it = values_.find(NameOf(section, key));
  std::string value = it == values_.end() ? default_value : it->second;
  if (buffer_size > 0 && value.size() > buffer_size - 1) value.resize(buffer_size - 1);
  return value;
}

int FakeProfile::GetInt(const std::string& section, const std::string& key, int default_value) {
  reads.push_back({section, key, ""});
  auto it = values_.find(NameOf(section, key));
  if (it == values_.end()) return default_value;
  return std::atoi(it->second.c_str());
}

bool FakeProfile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
  writes.push_back({section, key, value});
  values_[NameOf(section, key)] = value;
  return true;
}

void FakeProfile::Set(const std::string& section, const std::string& key,
                      const std::string& value) {
  values_[NameOf(section, key)] = value;
}

std::string FakeProfile::Get(const std::string& section, const std::string& key) const {
  auto it = values_.find(NameOf(section, key));
  return it == values_.end() ? "<none>" : it->second;
}

FakeProfile::Name FakeProfile::NameOf(const std::string& section, const std::string& key) {
  return {Lower(section), Lower(key)};
}

std::vector<std::string> FakeProfile::KeysOf(const std::vector<Access>& list) {
  std::vector<std::string> keys;
  for (const auto& a : list) keys.push_back(a.key);
  return keys;
}

}  // namespace tellu
