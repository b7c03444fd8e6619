// The avatar request handshake carried in whispers: the owner's side refuses,
// asks its user or offers; the requester's side turns an offer into a
// transfer.  Also the request menu and the attention flash while the user is
// being asked.
#pragma once
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "avatar/avatar_menu.h"
#include "avatar/host_places.h"
#include "avatar/transfer_order.h"
#include "avatar/flash.h"
#include "avatar/request_list.h"
#include "chat/chat_core.h"
#include "platform/files.h"
#include "platform/ui.h"
#include "settings/settings_store.h"

namespace tellu {

class Handshake {
 public:
  struct Links {
    ChatCore& chat;
    SettingsStore& settings;
    Files& files;
    Ui& ui;
    AttentionFlash& flash;
    RequestList& requests;
    const HostPlaces& places;
    // The relay's own address, read at each use: it changes with a new
    // server connection.
    std::function<std::string()> own_address;
    std::function<void(const TransferOrder&)> start_transfer;
    RefusedFn refused;
  };
  explicit Handshake(Links links);
  Handshake(const Handshake&) = delete;
  Handshake& operator=(const Handshake&) = delete;

  // True for every text that begins with the exchange's prefix, after acting
  // on it: such a whisper is not shown, logged or answered automatically.
  bool AvatarWhisperCheck(const std::string& text, const std::string& speaker);

  // The owner's side.  The Yes/No question is asynchronous: other requests
  // are handled while it is open, and each answer uses what its own request
  // brought (address, file, the own address of that moment).
  void OnAvatarRequest(const std::string& requester, std::string_view scrambled);
  // The requester's side; text begins with the offer keyword.  Only an
  // owner this side has asked is taken at their word.
  void OnAvatarOffer(const std::string& owner, std::string_view text);
  void RequestAvatar(const std::string& name);

  // The people who run this program or the companion "Mirabo" and wear an
  // avatar; remembers their names for the commands.  Empty: show nothing.
  Menu RequestMenu();
  // A request menu command; false when it is not one.
  bool OnRequestCommand(int command);

 private:
  void Whisper(const std::string& target, std::string_view text);
  void SystemLine(const std::string& text);
  void Answer(bool yes, const std::string& requester, const std::string& address,
              const std::string& file, const std::string& own_address_then);

  Links l_;
  std::array<std::string, kMenuEntries> entries_;
  // Questions may be answered after this object is gone (at shutdown).
  std::shared_ptr<Handshake*> self_;
};

}  // namespace tellu
