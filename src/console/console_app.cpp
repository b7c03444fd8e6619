#include "console/console_app.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/command_line.h"
#include "app/config.h"
#include "app/session.h"
#include "console/commands.h"
#include "console/display_text.h"
#include "console/line_input.h"
#include "console/posix_loop.h"
#include "console/posix_net.h"
#include "console/posix_shell.h"
#include "console/signals.h"
#include "console/terminal.h"
#include "log/log_window_model.h"
#include "platform/registry.h"
#include "platform/std_files.h"

namespace tellu {

std::string ConsoleProfilePath(const std::string& windows_dir, const std::string& program_dir) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(windows_dir, ec)) {
    std::string name = entry.path().filename().string();
    for (char& c : name)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (name == "TELLU.INI" && entry.is_regular_file(ec)) return entry.path().string();
  }
  return (std::filesystem::path(program_dir) / "tellu.ini").string();
}

namespace {

class ConsoleApp {
 public:
  ConsoleApp(const ConsoleOptions& options, const std::string& program_path)
      : options_(options),
        terminal_(loop_, options.ask, stdout, isatty(STDOUT_FILENO) == 1),
        signals_(loop_, [this](int s) { OnSignal(s); }) {
    const std::string windows_dir =
        options.windows_dir ? *options.windows_dir
                            : DefaultWindowsDir(std::getenv("WINEPREFIX"), std::getenv("HOME"));
    const std::string profile =
        options.ini ? *options.ini
                    : ConsoleProfilePath(windows_dir,
                                         std::filesystem::path(program_path).parent_path().string());
    shell_.SetErrorReport([this](const std::string& what) {
      terminal_.Diagnostic("cannot start " + what);
    });
    Session::Hooks hooks;
    // The host is there once it has connected to the listening socket.  A
    // relay that stopped listening had a host whose server could not be
    // reached: that host is there too, though nothing is relayed.
    hooks.host_there = [this](int) { return session_->relay().HasHost() || RelayGaveUp(); };
    hooks.host_ready = [this] {
      const std::string restored = session_->launch().host_ini_path() + " is restored";
      if (RelayGaveUp())
        terminal_.Diagnostic("the host connected, but the chat server " +
                             session_->launch().server_host_name() +
                             " cannot be reached: nothing is relayed; " + restored);
      else
        terminal_.Diagnostic("the host is connected; " + restored);
    };
    hooks.fatal = [this](const std::string& report) {
      std::fputs(TerminalText(report).c_str(), stderr);
      std::fflush(stderr);
      status_ = 2;
      loop_.Quit();
    };
    hooks.server_lost = [this](const std::string& text) { terminal_.ServerLost(text); };
    session_ = std::make_unique<Session>(
        Session::Ports{files_, loop_, terminal_, shell_, registry_, net_},
        Session::Places{profile, windows_dir, program_path}, std::move(hooks));
    terminal_.Diagnostic("settings from " + profile);
  }

  int Run() {
    signal(SIGPIPE, SIG_IGN);
    signals_.Catch({SIGINT, SIGTERM, SIGCHLD});
    listening_ = session_->Begin();
    if (!listening_)
      terminal_.Diagnostic("cannot listen on port " +
                           std::to_string(ListenPort(session_->tellu_ini())) +
                           ": the host cannot connect");
    if (session_->Launch(CommandLineSlot(options_.slot_text))) {
      log_window_ = std::make_unique<LogWindowModel>(session_->log_store());
      session_->chat()->set_log_window(log_window_.get());
      terminal_.SetLogWindow(log_window_.get());
      commands_ = std::make_unique<Commands>(*session_, terminal_);
      input_ = std::make_unique<LineInput>(
          loop_, STDIN_FILENO, [this](const std::string& line) { OnLine(line); },
          [this] { terminal_.InputClosed(); });
      const auto& lines = session_->history().lines();
      terminal_.Diagnostic(TerminalText(lines.back()) + "; waiting up to " +
                           std::to_string(session_->settings().settings().search_timer) +
                           " s for the host on port " +
                           std::to_string(session_->relay().ListeningPort()));
      loop_.Run();
    }
    input_.reset();
    session_->Shutdown();
    terminal_.SetLogWindow(nullptr);
    return status_;
  }

 private:
  bool RelayGaveUp() const { return listening_ && !session_->relay().IsListening(); }

  void OnLine(const std::string& utf8) {
    const std::string line = TypedText(utf8);
    if (terminal_.TakeAnswer(line)) return;
    if (!commands_->Run(line)) loop_.Quit();
  }

  void OnSignal(int s) {
    if (s == SIGCHLD) {
      PosixShell::ReapChildren();
      return;
    }
    loop_.Quit();
  }

  const ConsoleOptions& options_;
  PosixLoop loop_;
  PosixNet net_{loop_};
  StdFiles files_;
  NoRegistry registry_;
  PosixShell shell_;
  Terminal terminal_;
  SignalEvents signals_;
  std::unique_ptr<Session> session_;
  std::unique_ptr<LogWindowModel> log_window_;
  std::unique_ptr<Commands> commands_;
  std::unique_ptr<LineInput> input_;
  bool listening_ = false;
  int status_ = 0;
};

}  // namespace

int RunConsole(const ConsoleOptions& options, const std::string& program_path) {
  ConsoleApp app(options, program_path);
  return app.Run();
}

}  // namespace tellu
