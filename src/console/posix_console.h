// tellu-cli's platform on POSIX: the poll loop, sockets, fork and exec,
// SIGINT and SIGTERM as the end of the run, standard input read as UTF-8,
// paths handed to the program as Shift-JIS.
#pragma once
#include <memory>
#include <optional>
#include <string>

#include "console/console_platform.h"
#include "posix/line_editor.h"
#include "posix/line_input.h"
#include "posix/posix_loop.h"
#include "posix/posix_net.h"
#include "posix/posix_shell.h"
#include "posix/signals.h"
#include "files/std_files.h"

namespace tellu {

// A native (UTF-8) path as the program's Shift-JIS text, or nothing when
// Shift-JIS cannot name exactly that file.
std::optional<std::string> SjisPlace(const std::string& native);

class PosixConsole : public ConsolePlatform {
 public:
  PosixConsole();

  Timers& timers() override { return loop_; }
  Net& net() override { return net_; }
  Shell& shell() override { return shell_; }
  Registry& registry() override { return registry_; }
  std::string WindowsDir() override;
  std::string ProfilePath(const std::string& windows_dir,
                          const std::string& program_path) override;
  LogPlace DefaultLogPlace(const std::string& profile) override;
  std::string PathText(const std::string& path) override;
  bool CanName(const std::string& path) override { return StdFiles::PosixName(path).has_value(); }
  bool ColourOutput() override;
  void ReportStartErrors(ReportFn report) override;
  void StartInput(LineFn on_line, EndFn on_end) override;
  void StopInput() override {
    input_.reset();
    editor_.reset();
  }
  std::string HideInput() override { return editor_ ? editor_->Hide() : std::string(); }
  void ShowInput() override {
    if (editor_) editor_->Show();
  }
  void Run() override { loop_.Run(); }
  void Quit() override { loop_.Quit(); }

 private:
  void OnSignal(int signal);

  PosixLoop loop_;
  PosixNet net_{loop_};
  NoRegistry registry_;
  PosixShell shell_;
  SignalEvents signals_;
  std::unique_ptr<LineInput> input_;  // a pipe or a file
  std::unique_ptr<LineEditor> editor_;  // a terminal
};

}  // namespace tellu
