#include "console/posix_console.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "console/console_app.h"
#include "console/console_out.h"
#include "console/display_text.h"
#include "console/options.h"

namespace tellu {

void WriteOut(std::FILE* stream, std::string_view utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
  std::fflush(stream);
}

PosixConsole::PosixConsole() : signals_(loop_, [this](int s) { OnSignal(s); }) {
  // A peer that goes away shows as a failed send, not as the end of the run.
  signal(SIGPIPE, SIG_IGN);
  signals_.Catch({SIGINT, SIGTERM, SIGCHLD});
}

std::string PosixConsole::WindowsDir() {
  return DefaultWindowsDir(std::getenv("WINEPREFIX"), std::getenv("HOME"));
}

std::string PosixConsole::ProfilePath(const std::string& windows_dir,
                                      const std::string& program_path) {
  return ConsoleProfilePath(windows_dir,
                            std::filesystem::path(program_path).parent_path().string());
}

bool PosixConsole::ColourOutput() { return isatty(STDOUT_FILENO) == 1; }

void PosixConsole::ReportStartErrors(ReportFn report) { shell_.SetErrorReport(std::move(report)); }

void PosixConsole::StartInput(LineFn on_line, EndFn on_end) {
  input_ = std::make_unique<LineInput>(
      loop_, STDIN_FILENO,
      [on_line = std::move(on_line)](const std::string& utf8) { on_line(TypedText(utf8)); },
      std::move(on_end));
}

void PosixConsole::OnSignal(int s) {
  if (s == SIGCHLD) {
    PosixShell::ReapChildren();
    return;
  }
  loop_.Quit();
}

int RunConsole(const ConsoleOptions& options, const std::string& program_path) {
  PosixConsole platform;
  return RunConsoleOn(platform, options, program_path);
}

}  // namespace tellu
