// tellu-cli's platform on Windows: Winsock and SetTimer on the hidden
// message window, ShellExecute, the registry, standard input that never
// blocks the loop, and Ctrl+C or the console's closing as the end of the run.
#pragma once
#include <memory>

#include "console/console_platform.h"
#include "win32/win_console_loop.h"
#include "win32/win_stdin.h"
#include "files/std_files.h"
#include "win32/win_net.h"
#include "win32/win_registry.h"
#include "win32/win_shell.h"
#include "win32/win_timers.h"

namespace tellu {

class WinConsole : public ConsolePlatform {
 public:
  WinConsole() = default;
  // Gives the console back its output mode.
  ~WinConsole() override;
  WinConsole(const WinConsole&) = delete;
  WinConsole& operator=(const WinConsole&) = delete;

  // False when there is no message window or no Winsock: nothing can run.
  bool ok() const { return loop_.ok() && winsock_.ok(); }

  Timers& timers() override { return timers_; }
  Net& net() override { return net_; }
  Shell& shell() override { return shell_; }
  Registry& registry() override { return registry_; }
  std::string WindowsDir() override;
  std::string ProfilePath(const std::string& windows_dir,
                          const std::string& program_path) override;
  std::string PathText(const std::string& path) override;
  bool ColourOutput() override;
  void ReportStartErrors(ReportFn report) override { shell_.report = std::move(report); }
  void StartInput(LineFn on_line, EndFn on_end) override;
  void StopInput() override { input_.reset(); }
  void Run() override { loop_.Run(); }
  void Quit() override { loop_.Quit(); }

 private:
  // ShellExecute, and the system's reason when a program cannot be started.
  struct ReportingShell : Shell {
    bool Open(const std::string& document) override { return shell.Open(document); }
    bool Start(const std::string& program, const std::string& params,
               const std::string& folder) override;
    WinShell shell;
    ReportFn report;
  };

  WinsockSession winsock_;
  WinConsoleLoop loop_;
  WinTimers timers_{loop_.window()};
  WinNet net_{loop_.window()};
  ReportingShell shell_;
  WinRegistry registry_;
  StdFiles files_;
  std::unique_ptr<WinStdin> input_;
  DWORD output_mode_ = 0;
  bool restore_output_mode_ = false;
};

}  // namespace tellu
