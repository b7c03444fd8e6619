#include "console/console_app.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/command_line.h"
#include "app/config.h"
#include "app/launch.h"
#include "app/startup_texts.h"
#include "app/session.h"
#include "console/commands.h"
#include "console/console_out.h"
#include "console/console_platform.h"
#include "console/display_text.h"
#include "console/log_folder.h"
#include "console/options.h"
#include "console/terminal.h"
#include "log/log_window_model.h"
#include "files/std_files.h"

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

std::string StartupText(std::string_view sjis,
                        const std::function<std::string(const std::string&)>& path_text) {
  static constexpr std::string_view kPathHeads[] = {kHistoryTelluIni, kHistoryChecking,
                                                    kHistoryReading, kHistoryExecute,
                                                    kHistoryNoBackup};
  std::string out;
  size_t start = 0;
  while (start <= sjis.size()) {
    const size_t end = std::min(sjis.find("\r\n", start), sjis.size());
    const std::string_view line = sjis.substr(start, end - start);
    std::string shown = TerminalText(line);
    for (std::string_view head : kPathHeads)
      if (line.size() > head.size() && line.starts_with(head))
        shown = TerminalText(head) + path_text(std::string(line.substr(head.size())));
    out += shown;
    if (end == sjis.size()) break;
    out += '\n';
    start = end + 2;
  }
  return out;
}

namespace {

class ConsoleApp {
 public:
  ConsoleApp(ConsolePlatform& platform, const ConsoleOptions& options,
             const std::string& program_path)
      : platform_(platform),
        options_(options),
        terminal_(platform.timers(), options.ask, stdout, platform.ColourOutput()) {
    terminal_.set_colour(UseColour(options.colour, platform.ColourOutput(),
                                   std::getenv("TERM"), std::getenv("NO_COLOR")));
    terminal_.set_bell(options.bell);
    const std::string windows_dir =
        options.windows_dir ? *options.windows_dir : platform.WindowsDir();
    const std::string profile =
        options.ini ? *options.ini : platform.ProfilePath(windows_dir, program_path);
    const ConsolePlatform::LogPlace log_place = platform.DefaultLogPlace(profile);
    files_.set_folder(log_place.folder);
    platform.ReportStartErrors([this](const std::string& what) {
      terminal_.Diagnostic("cannot start " + what);
    });
    Session::Hooks hooks;
    // The host is there once it has connected to the listening socket.  A
    // relay that stopped listening had a host whose server could not be
    // reached: that host is there too, though nothing is relayed.
    hooks.host_there = [this](int) { return session_->relay().HasHost() || RelayGaveUp(); };
    hooks.host_ready = [this] {
      const std::string restored =
          platform_.PathText(session_->launch().host_ini_path()) + " is restored";
      if (RelayGaveUp())
        terminal_.Diagnostic("the host connected, but the chat server " +
                             session_->launch().server_host_name() +
                             " cannot be reached: nothing is relayed; " + restored);
      else
        terminal_.Diagnostic("the host is connected; " + restored);
    };
    hooks.fatal = [this](const std::string& report) {
      terminal_.Flush();
      WriteOut(stderr, StartupText(report, [this](const std::string& path) {
                 return platform_.PathText(path);
               }));
      status_ = 2;
      platform_.Quit();
    };
    hooks.server_lost = [this](const std::string& text) { terminal_.ServerLost(text); };
    session_ = std::make_unique<Session>(
        Session::Ports{files_, platform.timers(), terminal_, platform.shell(),
                       platform.registry(), platform.net()},
        Session::Places{profile, windows_dir, program_path, log_place.log_name}, std::move(hooks));
    terminal_.Diagnostic("settings from " + platform.PathText(profile));
  }

  int Run() {
    listening_ = session_->Begin();
    if (!listening_)
      terminal_.Diagnostic("cannot listen on port " +
                           std::to_string(ListenPort(session_->tellu_ini())) +
                           ": the host cannot connect");
    const bool launched = session_->Launch(CommandLineSlot(options_.slot_text));
    ReportUnnamablePaths();
    if (launched) {
      log_window_ = std::make_unique<LogWindowModel>(session_->log_store());
      session_->chat()->set_log_window(log_window_.get());
      terminal_.SetLogWindow(log_window_.get());
      commands_ = std::make_unique<Commands>(*session_, terminal_);
      if (AvatarExchange* avatar = session_->avatar())
        avatar->SetRefusedReport([this](Refusal what, const std::string& name,
                                        const std::string& reference) {
          terminal_.Diagnostic(RefusalText(what, name, reference));
        });
      platform_.StartInput([this](const TypedLine& line) { OnLine(line); },
                           [this] { terminal_.InputClosed(); });
      terminal_.SetInputLine([this] { return platform_.HideInput(); },
                             [this] { platform_.ShowInput(); });
      const auto& lines = session_->history().lines();
      terminal_.Diagnostic(StartupText(lines.back(),
                                       [this](const std::string& p) {
                                         return platform_.PathText(p);
                                       }) +
                           "; waiting up to " +
                           std::to_string(session_->settings().settings().search_timer) +
                           " s for the host on port " +
                           std::to_string(session_->relay().ListeningPort()));
      platform_.Run();
    }
    terminal_.SetInputLine(nullptr, nullptr);
    platform_.StopInput();
    session_->Shutdown();
    terminal_.SetLogWindow(nullptr);
    terminal_.Flush();
    return status_;
  }

 private:
  // Such a path opens no file at all; the user is told which key holds it.
  void ReportUnnamablePaths() {
    const struct {
      const char* key;
      const std::string& path;
    } places[] = {
        {"INIFILE", session_->launch().host_ini_path()},
        {"PRODIR", session_->launch().host_program_dir()},
        {"LogName", session_->settings().settings().log_name},
    };
    for (const auto& place : places)
      if (!platform_.CanName(place.path))
        terminal_.Diagnostic(std::string(place.key) + " names " + platform_.PathText(place.path) +
                             ", which has no file name on this system: nothing is opened there");
  }

  bool RelayGaveUp() const { return listening_ && !session_->relay().IsListening(); }

  void OnLine(const TypedLine& line) {
    if (line.refused.empty() && terminal_.TakeAnswer(line.sjis)) return;
    if (!commands_->Run(line)) platform_.Quit();
  }

  ConsolePlatform& platform_;
  const ConsoleOptions& options_;
  StdFiles plain_files_;
  LogFolderFiles files_{plain_files_};
  Terminal terminal_;
  std::unique_ptr<Session> session_;
  std::unique_ptr<LogWindowModel> log_window_;
  std::unique_ptr<Commands> commands_;
  bool listening_ = false;
  int status_ = 0;
};

}  // namespace

int RunConsoleOn(ConsolePlatform& platform, const ConsoleOptions& options,
                 const std::string& program_path) {
  ConsoleApp app(platform, options, program_path);
  return app.Run();
}

}  // namespace tellu
