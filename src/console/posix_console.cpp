#include "console/posix_console.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "console/console_app.h"
#include "console/console_out.h"
#include "console/display_text.h"
#include "console/log_folder.h"
#include "console/options.h"
#include "files/std_files.h"
#include "text/sjis.h"

namespace tellu {

std::optional<std::string> SjisPlace(const std::string& native) {
  std::string sjis = text::Utf8ToSjis(native);
  if (PosixPath(sjis) != native) return std::nullopt;
  return sjis;
}

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
  const std::string native = DefaultWindowsDir(std::getenv("WINEPREFIX"), std::getenv("HOME"));
  return SjisPlace(native).value_or(std::string());
}

std::string PosixConsole::ProfilePath(const std::string& windows_dir,
                                      const std::string& program_path) {
  const std::string native = ConsoleProfilePath(
      PosixPath(windows_dir).value_or(std::string()),
      std::filesystem::path(PosixPath(program_path).value_or(std::string())).parent_path().string());
  return SjisPlace(native).value_or(std::string());
}

ConsolePlatform::LogPlace PosixConsole::DefaultLogPlace(const std::string& profile) {
  const std::string folder = StateLogFolder(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
  const auto ini = StdFiles::PosixName(profile);
  const auto log_name = folder.empty() || !ini ? std::nullopt : LogNameValue(folder, *ini);
  if (!log_name) return {};
  return {folder, *log_name};
}

std::string PosixConsole::PathText(const std::string& path) { return PosixPathText(path); }

bool PosixConsole::ColourOutput() { return isatty(STDOUT_FILENO) == 1; }

void PosixConsole::ReportStartErrors(ReportFn report) { shell_.SetErrorReport(std::move(report)); }

void PosixConsole::StartInput(LineFn on_line, EndFn on_end) {
  auto typed = [on_line = std::move(on_line)](const std::string& utf8) {
    on_line(TypedText(utf8));
  };
  if (isatty(STDIN_FILENO) == 1 && isatty(STDOUT_FILENO) == 1)
    editor_ = std::make_unique<LineEditor>(loop_, STDIN_FILENO, std::move(typed),
                                           std::move(on_end));
  else
    input_ = std::make_unique<LineInput>(loop_, STDIN_FILENO, std::move(typed), std::move(on_end));
}

void PosixConsole::OnSignal(int s) {
  if (s == SIGCHLD) {
    PosixShell::ReapChildren();
    return;
  }
  loop_.Quit();
}

// The Windows directory of a Wine prefix is <prefix>/drive_c/windows; the
// prefix's dosdevices folder then holds the drives ("c:", "z:") of the
// host's own paths.
std::string WineDrives(const std::string& windows_dir) {
  std::filesystem::path windows =
      std::filesystem::path(PosixPath(windows_dir).value_or(std::string())).lexically_normal();
  if (!windows.has_filename()) windows = windows.parent_path();
  if (windows.empty()) return {};
  const auto drives = windows.parent_path().parent_path() / "dosdevices";
  std::error_code ec;
  return std::filesystem::is_directory(drives, ec) ? drives.string() : std::string();
}

int RunConsole(const ConsoleOptions& options, const std::string& program_path) {
  PosixConsole platform;
  StdFiles::SetDriveFolder(
      WineDrives(options.windows_dir ? *options.windows_dir : platform.WindowsDir()));
  return RunConsoleOn(platform, options, program_path);
}

}  // namespace tellu
