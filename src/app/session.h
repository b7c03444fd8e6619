// Session: everything that lives for one run of the program, given the ports
// by a front end: tellu.ini and the settings, the log, the relay and the
// chat stream, text delivery, the avatar exchange, and the start-up state of
// attach or launch mode with its shutdown.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "app/fatal_report.h"
#include "ini/ini_file.h"
#include "app/launch.h"
#include "app/launch_wait.h"
#include "avatar/exchange.h"
#include "bar/delivery.h"
#include "bar/message_expand.h"
#include "chat/chat_core.h"
#include "log/log_file.h"
#include "log/log_store.h"
#include "platform/files.h"
#include "platform/net.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/timers.h"
#include "platform/ui.h"
#include "relay/relay.h"
#include "settings/dialog_ok.h"
#include "settings/settings_store.h"

namespace tellu {

// The bar's window title: "Tellu  Ver  0.17   " trimmed, then "j".
inline constexpr char kBarTitle[] = "Tellu  Ver  0.17j";

class Session {
 public:
  struct Ports {
    Files& files;
    Timers& timers;
    Ui& ui;
    Shell& shell;
    Registry& registry;
    Net& net;
  };
  struct Places {
    std::string profile_path;  // tellu.ini, located by the front end
    std::string windows_dir;   // where INIFILE is resolved
    std::string program_path;  // the running program (default log name)
    // LogName for a slot without one; empty: the program's own rule.
    std::string log_name = {};
  };
  // What the front end adds on top: its own way of finding the host, and
  // how it ends the run.
  struct Hooks {
    // Once a second while the launched host is awaited: is it there?  (Its
    // window, or its connection on the listening socket.)  Gets the slot.
    std::function<bool(int slot)> host_there;
    // The launched host was found and its configuration put back: captions,
    // startup notice and the slide are the front end's.
    std::function<void()> host_ready;
    // A fatal start-up error, with the whole report.  The front end shows
    // it, ends the run with status 2 and calls Shutdown.  The host
    // configuration is already put back.
    std::function<void(const std::string& report)> fatal;
    // The server connection was lost (the log window's notice).
    std::function<void(const std::string& text)> server_lost;
  };

  enum class Mode { kStarting, kAttach, kLaunch, kFailed };

  Session(Ports ports, Places places, Hooks hooks);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Opens the listening socket on RN and records "Start Tellu" and the
  // tellu.ini in use.  False when the port cannot be had (the run goes on
  // without connections, as ever).
  bool Begin();
  // Attach mode: the front end found the slot's host window running.  Only
  // the font settings and the mute list are read; nothing is relayed.
  void Attach(int slot);
  // Launch mode: choose the slot, read its settings, patch the host
  // configuration, start the host and wait for it.  False after a fatal
  // error (already reported through the fatal hook).
  bool Launch(int command_line_slot);
  // The orderly end: configuration put back if still patched, log end
  // banner, avatar connections, listening socket, host and server.  Runs
  // once; later calls do nothing.
  void Shutdown();

  // The settings dialog's OK: the copy taken over and written, and the log
  // file follows at once.  The front end applies a changed font.
  DialogOkResult TakeDialogSettings(const DialogSettings& dialog);

  // The bar's Send and Enter: launch mode only (attach mode types into the
  // host, which is the front end's).
  void Deliver(std::string_view text);
  // Message-table entry 0..15 with the bar's field.
  Expansion SendMessageEntry(int index, std::string_view field);

  Mode mode() const { return mode_; }
  bool launch_mode() const { return mode_ == Mode::kLaunch; }
  // The launched host is awaited (the host configuration is patched).
  bool waiting_for_host() const { return wait_ && wait_->waiting(); }
  const StartupHistory& history() const { return history_; }
  HostLaunch& launch() { return launch_; }
  Profile& tellu_ini() { return tellu_ini_; }
  SettingsStore& settings() { return settings_; }
  LogStore& log_store() { return log_store_; }
  Relay& relay() { return relay_; }
  // The chat stream and the rest exist once a slot is chosen.
  ChatCore* chat() { return chat_.get(); }
  LogFile* log_file() { return log_file_.get(); }
  AvatarExchange* avatar() { return avatar_.get(); }
  // Launch mode read a saved bar size to apply (PositionSaveFlag).
  bool resize_bar() const { return resize_bar_; }

 private:
  class Parser : public ParserPort {
   public:
    explicit Parser(Session& s) : s_(s) {}
    Verdict DispAddBin(Direction direction, std::string_view payload) override;

   private:
    Session& s_;
  };

  // The chat stream and its neighbours for the chosen slot section.
  void Assemble(bool with_avatars);
  void HostWaitEnded(LaunchWait::Outcome outcome);
  void Fatal(std::string_view text);
  // Texts of tellu.ini written by hand that cannot be sent: told once.
  void ReportUnsendableSettings();

  Ports ports_;
  Places places_;
  Hooks hooks_;
  Mode mode_ = Mode::kStarting;
  bool shut_down_ = false;
  bool resize_bar_ = false;
  StartupHistory history_;

  IniFile tellu_ini_;
  SettingsStore settings_;
  LogStore log_store_;
  HostLaunch launch_;
  Parser parser_{*this};
  Relay relay_;
  std::unique_ptr<LogFile> log_file_;
  std::unique_ptr<ChatCore> chat_;
  std::unique_ptr<TextDelivery> delivery_;
  std::unique_ptr<IniFile> host_ini_;
  std::unique_ptr<AvatarExchange> avatar_;
  std::unique_ptr<LaunchWait> wait_;
};

}  // namespace tellu
