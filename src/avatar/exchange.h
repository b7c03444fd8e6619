// The avatar exchange as one object that a front end creates: it claims the
// exchange's whispers for the chat stream, serves the peer connections the
// relay accepts, keeps the transfers, and offers the request and avatar
// change menus as data.
#pragma once
#include <array>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "avatar/avatar_menu.h"
#include "avatar/host_places.h"
#include "avatar/transfer_order.h"
#include "avatar/flash.h"
#include "avatar/handshake.h"
#include "avatar/registered.h"
#include "avatar/request_list.h"
#include "avatar/transfer.h"
#include "chat/avatar_hook.h"
#include "chat/chat_core.h"
#include "platform/profile.h"
#include "relay/relay_port.h"
#include "relay/serv_sock.h"
#include "settings/settings_store.h"

namespace tellu {

// Objects 2..11 wearing an avatar found in final_path get two room position
// records, 01 00 then 00 01: the host reloads their avatar.
void AvatarRefresh(const ObjectTable& objects, const Movement& movement, RelayPort& relay,
                   const std::string& final_path);

class AvatarExchange : public AvatarHook, private TransferSite {
 public:
  struct Ports {
    Net& net;
    Files& files;
    Timers& timers;
    Ui& ui;
  };
  // What the exchange reads of the relay, at each use.
  struct RelayAccess {
    RelayPort& port;
    std::function<std::string()> own_address;  // Relay::OwnAddress
    std::function<int()> server_port;          // Relay::ServerPort
  };
  // Claims the chat core's exchange whispers until destroyed.  The front end
  // hands it the relay's peers:
  //   relay.SetPeerAccept([&](auto c) { exchange.Accept(std::move(c)); });
  AvatarExchange(ChatCore& chat, RelayAccess relay, SettingsStore& settings, Ports ports);
  ~AvatarExchange() override;
  AvatarExchange(const AvatarExchange&) = delete;
  AvatarExchange& operator=(const AvatarExchange&) = delete;

  // The host program directory (ending in a backslash) and the bar's title.
  void SetHostPlaces(HostPlaces places) { places_ = std::move(places); }
  // The host's configuration file and the section of its registrations
  // (launch mode only; without one nothing is registered).
  void SetHostIni(Profile* host_ini, std::string section) {
    host_ini_ = host_ini;
    host_section_ = std::move(section);
  }

  // Told of every offer, push or fetch refused because this side never asked
  // for it (the console says so; the Windows program shows nothing).
  void SetRefusedReport(RefusedFn report) { refused_ = std::move(report); }

  int AvatarWhisperCheck(const std::string& text, const std::string& speaker) override {
    return handshake_.AvatarWhisperCheck(text, speaker) ? 1 : 0;
  }

  Menu RequestMenu() { return handshake_.RequestMenu(); }
  // shift: the Shift key is held, which reloads the registrations.
  Menu ChangeMenu(bool shift);
  // A command of either menu; false when it is none of theirs.
  bool OnMenuCommand(int command);
  void RequestAvatar(const std::string& name) { handshake_.RequestAvatar(name); }
  void ChangeAvatar(const std::string& reference);

  // A greeted peer connection (kind 1) from the relay's listening socket.
  void Accept(std::unique_ptr<CServSock> connection);
  // A transfer this side opens (the handshake's decision).
  void StartTransfer(const TransferOrder& order);

  Handshake& handshake() { return handshake_; }
  const AttentionFlash& flash() const { return flash_; }
  const RequestList& requests() const { return requests_; }
  const RegisteredAvatars& registered() const { return registered_; }
  // Transfers and peer connections not yet ended.
  std::size_t live() const;

 private:
  // TransferSite.
  Net& net() override { return ports_.net; }
  Files& files() override { return ports_.files; }
  Timers& timers() override { return ports_.timers; }
  Ui& ui() override { return ports_.ui; }
  const std::string& ProgramDir() override { return places_.program_dir; }
  std::string OwnName() override { return chat_.state().own_name; }
  int ServerPort() override { return relay_.server_port(); }
  void SystemLine(const std::string& text) override { chat_.SystemLine(text); }
  void AvatarRefresh(const std::string& final_path) override;
  bool Admits(TransferDirection this_side, const std::string& peer,
              const std::string& reference) override;
  void Received(const std::string& peer) override { requests_.Consume(peer); }
  void Refused(Refusal what, const std::string& name, const std::string& reference);
  std::set<std::string>& TempPaths() override { return temp_paths_; }
  void Release(PeerObject* object) override;

  ChatCore& chat_;
  RelayAccess relay_;
  Ports ports_;
  HostPlaces places_;
  Profile* host_ini_ = nullptr;
  std::string host_section_;
  AttentionFlash flash_;
  RequestList requests_;
  RefusedFn refused_;
  Handshake handshake_;
  RegisteredAvatars registered_;
  std::array<std::string, kMenuEntries> change_entries_;
  std::set<std::string> temp_paths_;
  std::vector<std::unique_ptr<PeerObject>> live_;
  // Ended objects wait here until the event that ended them is over.
  std::vector<std::unique_ptr<PeerObject>> released_;
  Timers::Id reaper_ = 0;
};

}  // namespace tellu
