// Test double of the Profile port: values by section and key (names compare
// ASCII case-insensitively), with every read and write recorded in order.
#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/profile.h"

namespace tellu {

class FakeProfile : public Profile {
 public:
  struct Access {
    std::string section, key, value;  // value: what was written; empty for a read
    friend bool operator==(const Access&, const Access&) = default;
  };

  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& default_value, size_t buffer_size = 4096) override;
  int GetInt(const std::string& section, const std::string& key, int default_value) override;
  bool WriteString(const std::string& section, const std::string& key,
                   const std::string& value) override;

  void Set(const std::string& section, const std::string& key, const std::string& value);
  // The stored value, or "<none>" for a key never set.
  std::string Get(const std::string& section, const std::string& key) const;
  std::vector<std::string> ReadKeys() const { return KeysOf(reads); }
  std::vector<std::string> WrittenKeys() const { return KeysOf(writes); }

  std::vector<Access> reads, writes;

 private:
  using Name = std::pair<std::string, std::string>;
  static Name NameOf(const std::string& section, const std::string& key);
  static std::vector<std::string> KeysOf(const std::vector<Access>& list);

  std::map<Name, std::string> values_;
};

}  // namespace tellu
