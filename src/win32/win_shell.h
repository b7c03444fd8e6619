// The Shell port on Windows: ShellExecuteW with the "open" verb.
#pragma once
#include "platform/shell.h"

namespace tellu {

class WinShell : public Shell {
 public:
  bool Open(const std::string& document) override;
  // An empty parameter string or folder is given as none.
  bool Start(const std::string& program, const std::string& params,
             const std::string& folder) override;
};

}  // namespace tellu
