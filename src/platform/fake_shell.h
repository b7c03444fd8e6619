// Test double of the Shell port: records what would have been opened or started.
#pragma once
#include <string>
#include <vector>

#include "platform/shell.h"

namespace tellu {

class FakeShell : public Shell {
 public:
  struct Started {
    std::string program, params, folder;
  };
  bool Open(const std::string& document) override {
    opened.push_back(document);
    return true;
  }
  bool Start(const std::string& program, const std::string& params,
             const std::string& folder) override {
    started.push_back({program, params, folder});
    return start_result;
  }
  std::vector<std::string> opened;
  std::vector<Started> started;
  bool start_result = true;
};

}  // namespace tellu
