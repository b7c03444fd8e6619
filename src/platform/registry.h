// Registry port: reads one value below HKEY_LOCAL_MACHINE.  Elsewhere than on
// Windows there is no registry and every read finds nothing.
#pragma once
#include <string>

namespace tellu {

class Registry {
 public:
  virtual ~Registry() = default;
  // The text value `name` of key `key`, or "" when absent.
  virtual std::string ReadLocalMachine(const std::string& key, const std::string& name) = 0;
};

class NoRegistry : public Registry {
 public:
  std::string ReadLocalMachine(const std::string&, const std::string&) override { return {}; }
};

}  // namespace tellu
