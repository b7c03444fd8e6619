#include "app/session.h"

#include "app/config.h"
#include "app/shutdown.h"
#include "app/startup_texts.h"
#include "settings/keys.h"
#include "settings/message_table.h"
#include "settings/startup.h"
#include "settings/unsendable.h"

namespace tellu {

Verdict Session::Parser::DispAddBin(Direction direction, std::string_view payload) {
  // Before a slot is chosen nothing can have connected; forward as the
  // relay does without a parser.
  return s_.chat_ ? s_.chat_->DispAddBin(direction, payload) : Verdict::kPassOn;
}

Session::Session(Ports ports, Places places, Hooks hooks)
    : ports_(ports),
      places_(std::move(places)),
      hooks_(std::move(hooks)),
      tellu_ini_(ports.files, places_.profile_path),
      settings_(tellu_ini_, ""),
      launch_({tellu_ini_, ports.files, ports.registry, ports.shell, ports.ui}, places_.windows_dir,
              history_),
      relay_(ports.net) {
  relay_.SetParser(&parser_);
  relay_.SetServerLostNotice([this](const std::string& text) {
    if (hooks_.server_lost) hooks_.server_lost(text);
  });
}

Session::~Session() { Shutdown(); }

bool Session::Begin() {
  const bool listening = relay_.Open(ListenPort(tellu_ini_));
  history_.Record(kHistoryStart);
  history_.Record(kHistoryTelluIni, places_.profile_path);
  return listening;
}

void Session::Attach(int slot) {
  settings_.settings().slot_section = SlotName(slot);
  settings_.LoadMuteList();
  ReadAttachSettings(settings_);
  Assemble(false);
  LoadMessageTable(settings_);
  ReportUnsendableSettings();
  mode_ = Mode::kAttach;
}

bool Session::Launch(int command_line_slot) {
  if (launch_.ChooseSlot(command_line_slot) == 0) {
    Fatal(kFatalLaunchFailed);
    return false;
  }
  settings_.settings().slot_section = launch_.slot_section();
  // Written before the settings are read, which would fill in their own.
  if (!places_.log_name.empty() && settings_.ReadText(keys::kLogName).empty())
    settings_.WriteText(keys::kLogName, places_.log_name);
  resize_bar_ = ReadLaunchSettings(settings_, places_.program_path);
  Assemble(true);
  if (!launch_.PatchAndStart()) {
    Fatal(kFatalLaunchFailed);
    return false;
  }
  relay_.SetServer(launch_.server_host_name(), [this] { return ServerPort(tellu_ini_); });
  host_ini_ = std::make_unique<IniFile>(ports_.files, launch_.host_ini_path());
  avatar_->SetHostPlaces({launch_.host_program_dir(), kBarTitle});
  avatar_->SetHostIni(host_ini_.get(), launch_.link().chg_sec);
  LoadMessageTable(settings_);
  ReportUnsendableSettings();
  // Read again once the host is found; already now, because a host that
  // connects to the relay can log in before the next tick of the wait.
  settings_.LoadMuteList();
  mode_ = Mode::kLaunch;
  wait_ = std::make_unique<LaunchWait>(
      ports_.timers, settings_.settings().search_timer,
      [this] { return hooks_.host_there && hooks_.host_there(launch_.slot()); },
      [this](LaunchWait::Outcome outcome) { HostWaitEnded(outcome); });
  wait_->Start();
  return true;
}

void Session::Assemble(bool with_avatars) {
  const Settings& s = settings_.settings();
  log_file_ = std::make_unique<LogFile>(ports_.files, ports_.timers, s.log_chk,
                                        [this] { settings_.ForgetLogName(); });
  log_file_->Prepare(s.log_name);
  chat_ = std::make_unique<ChatCore>(relay_, settings_, log_store_, *log_file_, ports_.ui,
                                     [this] { return relay_.HostMessageCount(); });
  TextDelivery::Hooks delivery;
  delivery.send_chat_line = [this](const std::string& line) { chat_->SendChatLine(line); };
  delivery.status = [this] { return chat_->state().status; };
  delivery.set_status = [this](int index) { chat_->SetStatus(index); };
  delivery.has_server = [this] { return relay_.HasServer(); };
  delivery_ = std::make_unique<TextDelivery>(ports_.timers, ports_.ui, std::move(delivery));
  if (!with_avatars) return;
  avatar_ = std::make_unique<AvatarExchange>(
      *chat_,
      AvatarExchange::RelayAccess{relay_, [this] { return relay_.OwnAddress(); },
                                  [this] { return relay_.ServerPort(); }},
      settings_, AvatarExchange::Ports{ports_.net, ports_.files, ports_.timers, ports_.ui});
  relay_.SetPeerAccept([this](std::unique_ptr<CServSock> connection) {
    if (avatar_) avatar_->Accept(std::move(connection));
  });
}

DialogOkResult Session::TakeDialogSettings(const DialogSettings& dialog) {
  DialogOkResult result = ApplySettingsDialog(settings_, dialog);
  if (log_file_) log_file_->Follow(settings_.settings().log_name);
  return result;
}

void Session::HostWaitEnded(LaunchWait::Outcome outcome) {
  launch_.Restore();
  if (outcome == LaunchWait::Outcome::kLimitReached) {
    Fatal(kFatalHostNotFound);
    return;
  }
  settings_.LoadMuteList();
  if (hooks_.host_ready) hooks_.host_ready();
}

void Session::ReportUnsendableSettings() {
  const std::vector<std::string> keys = UnsendableKeys(settings_.settings());
  if (!keys.empty())
    ports_.ui.Notice(UnsendableNotice(keys), std::string(kFatalCaption), NoticeIcon::Exclamation);
}

void Session::Fatal(std::string_view text) {
  // Whatever the front end does with the report, the host's file is back.
  launch_.Restore();
  mode_ = Mode::kFailed;
  if (hooks_.fatal) hooks_.fatal(FatalReport(text, history_));
}

void Session::Shutdown() {
  if (shut_down_) return;
  shut_down_ = true;
  wait_.reset();
  delivery_.reset();
  relay_.SetPeerAccept(nullptr);
  ShutdownInOrder({launch_, log_file_.get(), [this] { avatar_.reset(); }, relay_});
}

void Session::Deliver(std::string_view text) {
  if (mode_ == Mode::kLaunch && delivery_) delivery_->Deliver(text);
}

Expansion Session::SendMessageEntry(int index, std::string_view field) {
  if (index < 0 || index >= kMessageCount) return {};
  // Told at start-up; the field stays as it was.
  if (!Sendable(settings_.settings().messages[index].text)) {
    ports_.ui.Beep();
    return {{}, std::string(field)};
  }
  Expansion expansion = ExpandMessage(settings_.settings().messages[index].text, field);
  Deliver(expansion.text);
  return expansion;
}

}  // namespace tellu
