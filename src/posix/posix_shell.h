// The Shell port on POSIX: a program is started as a process of its own
// (fork and exec, no shell) with its standard input on /dev/null and its
// output left where ours goes; Shift-JIS paths and parameters go as UTF-8.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/shell.h"

namespace tellu {

class PosixShell : public Shell {
 public:
  // Told why a program could not be started (for the diagnostics).
  using ErrorFn = std::function<void(const std::string& what)>;
  void SetErrorReport(ErrorFn report) { report_ = std::move(report); }

  // With xdg-open, when there is one.
  bool Open(const std::string& document) override;
  // The program runs in `folder`.  A program named without a directory is
  // taken from that folder when it is there, else from the PATH.  False,
  // and the reason reported, when it could not be executed.
  // The parameter string split as a Windows command line.
  bool Start(const std::string& program, const std::string& params,
             const std::string& folder) override;
  // The arguments as given; the string is not read.
  bool StartWithArgs(const std::string& program, const std::string& params,
                     const std::vector<std::string>& args, const std::string& folder) override;

  // Collects the exit of finished programs (on SIGCHLD).
  static void ReapChildren();

 private:
  ErrorFn report_;
};

}  // namespace tellu
