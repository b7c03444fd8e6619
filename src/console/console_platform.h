// What tellu-cli needs from the system under it: the ports, one event loop,
// standard input as lines, and the places the Windows program would use.
#pragma once
#include <functional>
#include <string>

#include "console/display_text.h"
#include "platform/net.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/timers.h"

namespace tellu {

class ConsolePlatform {
 public:
  using LineFn = std::function<void(const TypedLine& line)>;
  using EndFn = std::function<void()>;
  using ReportFn = std::function<void(const std::string& utf8)>;
  virtual ~ConsolePlatform() = default;

  virtual Timers& timers() = 0;
  virtual Net& net() = 0;
  virtual Shell& shell() = 0;
  virtual Registry& registry() = 0;

  // The Windows directory when no option names one.
  virtual std::string WindowsDir() = 0;
  // tellu.ini for that Windows directory and the running program.
  virtual std::string ProfilePath(const std::string& windows_dir,
                                  const std::string& program_path) = 0;
  // Where the log goes when the slot names no LogName: the folder (a native
  // path) and LogName's value as written into the tellu.ini at `profile`.
  // Both empty keep the Windows program's rule, the program's own folder.
  struct LogPlace {
    std::string folder;
    std::string log_name;
  };
  virtual LogPlace DefaultLogPlace(const std::string& profile) { return {}; }
  // One of the program's paths as a diagnostic shows it (UTF-8).
  virtual std::string PathText(const std::string& path) = 0;
  // The file system can name the file of this path exactly.
  virtual bool CanName(const std::string&) { return true; }
  // Standard output is a terminal that takes ANSI colours and the bell.
  virtual bool ColourOutput() = 0;
  // Why a program could not be started, when the system says.
  virtual void ReportStartErrors(ReportFn report) = 0;

  // Standard input from now on: each line as the program's text (or refused),
  // without its line end, then the end once.  Nothing comes after StopInput.
  virtual void StartInput(LineFn on_line, EndFn on_end) = 0;
  virtual void StopInput() = 0;
  // Around other output while input is read: the bytes that take a
  // half-typed line off the screen, then drawing it again.
  virtual std::string HideInput() { return {}; }
  virtual void ShowInput() {}

  // Runs the loop until Quit, or until the user interrupts the program
  // (a signal, Ctrl+C, the console closing).
  virtual void Run() = 0;
  virtual void Quit() = 0;
};

}  // namespace tellu
