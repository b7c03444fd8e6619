// Shell port: open a document or address, start a program.
#pragma once
#include <string>

namespace tellu {

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens a document or address with its associated program ("open").
  virtual bool Open(const std::string& document) = 0;
  // Starts a program with a parameter string in the given working folder.
  virtual bool Start(const std::string& program, const std::string& params,
                     const std::string& folder) = 0;
};

}  // namespace tellu
