// Shell port: open a document or address, start a program.
#pragma once
#include <string>
#include <vector>

namespace tellu {

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens a document or address with its associated program ("open").
  virtual bool Open(const std::string& document) = 0;
  // Starts a program with a parameter string in the given working folder.
  virtual bool Start(const std::string& program, const std::string& params,
                     const std::string& folder) = 0;
  // The same where the parameters are also known as the arguments the
  // program gets from them: a system that starts programs with an argument
  // vector rather than a command line uses those; Windows the string.
  virtual bool StartWithArgs(const std::string& program, const std::string& params,
                             const std::vector<std::string>& args, const std::string& folder) {
    return Start(program, params, folder);
  }
};

}  // namespace tellu
