// In-memory Profile for the settings tests: values by section and key, with
// every read and write recorded in order.
#pragma once
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/profile.h"

namespace tellu {

class FakeProfile : public Profile {
 public:
  struct Access {
    std::string section, key, value;  // value: what was written; empty for a read
    friend bool operator==(const Access&, const Access&) = default;
  };

  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& default_value, size_t buffer_size = 4096) override {
    reads.push_back({section, key, ""});
    auto it = values.find(Name(section, key));
    std::string value = it == values.end() ? default_value : it->second;
    if (buffer_size > 0 && value.size() > buffer_size - 1) value.resize(buffer_size - 1);
    return value;
  }

  int GetInt(const std::string& section, const std::string& key, int default_value) override {
    reads.push_back({section, key, ""});
    auto it = values.find(Name(section, key));
    if (it == values.end()) return default_value;
    return std::atoi(it->second.c_str());
  }

  bool WriteString(const std::string& section, const std::string& key,
                   const std::string& value) override {
    writes.push_back({section, key, value});
    values[Name(section, key)] = value;
    return true;
  }

  void Set(const std::string& section, const std::string& key, const std::string& value) {
    values[Name(section, key)] = value;
  }
  // The stored value, or "<none>" for a key never set.
  std::string Get(const std::string& section, const std::string& key) const {
    auto it = values.find(Name(section, key));
    return it == values.end() ? "<none>" : it->second;
  }
  std::vector<std::string> ReadKeys() const { return KeysOf(reads); }
  std::vector<std::string> WrittenKeys() const { return KeysOf(writes); }

  std::vector<Access> reads, writes;

 private:
  static std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
  }
  static std::pair<std::string, std::string> Name(const std::string& section,
                                                  const std::string& key) {
    return {Lower(section), Lower(key)};
  }
  static std::vector<std::string> KeysOf(const std::vector<Access>& list) {
    std::vector<std::string> keys;
    for (const auto& a : list) keys.push_back(a.key);
    return keys;
  }

  std::map<std::pair<std::string, std::string>, std::string> values;
};

}  // namespace tellu
