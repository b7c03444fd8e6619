// The Registry port on Windows: one text value below HKEY_LOCAL_MACHINE.
#pragma once
#include "platform/registry.h"

namespace tellu {

// The 32-bit view is read first: the host is a 32-bit program and keeps its
// installation folder there on a 64-bit system.
class WinRegistry : public Registry {
 public:
  std::string ReadLocalMachine(const std::string& key, const std::string& name) override;
};

}  // namespace tellu
