// DispAddBin: every message the relay carries, in either direction, passes
// here first.  It keeps the picture of the chat up to date, logs the chat
// lines, triggers the automatic reactions and decides each message's fate.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "chat/avatar_hook.h"
#include "chat/chat_state.h"
#include "chat/movement.h"
#include "chat/objects.h"
#include "log/log_file.h"
#include "log/log_store.h"
#include "log/log_window_model.h"
#include "platform/ui.h"
#include "relay/protocol.h"
#include "relay/relay_port.h"
#include "settings/settings_store.h"

namespace tellu {

class Voice;

class Dispatcher {
 public:
  struct Links {
    ChatState& state;
    ObjectTable& objects;
    Movement& movement;
    RelayPort& relay;
    SettingsStore& settings;
    LogStore& log;
    LogFile& log_file;
    Ui& ui;
    Voice& voice;
  };
  explicit Dispatcher(Links links);

  // direction kFromHost or kFromServer.  Returns kPassOn when the relay must
  // forward the payload unchanged, kSwallow when it must not (swallowed, or
  // already sent in rebuilt or early form).  Re-entrant: a nested call (the
  // automatic mute's notice, an automatic reply) sees what the outer call
  // changed before it.
  Verdict DispAddBin(Direction direction, std::string_view payload);

  // The relay's count of complete host messages; the login is the message
  // that makes it 1.
  void set_host_message_count(std::function<uint64_t()> count) { host_count_ = std::move(count); }
  // The open log window, or null; it is told of new lines while real-time.
  void set_log_window(const LogWindowModel* window) { log_window_ = window; }
  // Null restores the default that claims nothing.
  void set_avatar_hook(AvatarHook* hook) { hook_ = hook ? hook : &no_exchange_; }

  int AvatarWhisperCheck(const std::string& text, const std::string& speaker);
  // Tells the server the avatar the user wears now; the current avatar and a
  // frozen ghost follow it.
  void SendOwnAvatar(std::string_view reference);
  void SetStatus(int index);

 private:
  // What one call works with; nothing of it is shared with a nested call.
  struct Call {
    Verdict result = Verdict::kPassOn;
    std::string prefix, text;  // the log entry; none while prefix is empty
    std::string reply_target, reply_text;
    bool reply = false;
    bool whisper = false;
    bool whisper_to_me = false;  // from someone else, shown: worth a flash
    bool who_changed = false;
  };

  void Incoming(Call& call, std::string_view payload);
  void ChatLine(Call& call, std::string_view payload);
  void ObjectNaming(Call& call, std::string_view payload);
  void PositionBatch(Call& call, std::string_view payload);
  void ObjectMove(Call& call, std::string_view payload);
  void EventBatch(Call& call, std::string_view payload);
  void NamedObject(Call& call, std::string_view payload);
  void RoomPositionBatch(Call& call, std::string_view payload);
  void ObjectRelease(Call& call, std::string_view payload);
  void SetPersonPosition(Call& call, int n, const Position& pos);

  void Outgoing(Call& call, std::string_view payload);
  void Login(std::string_view payload);
  void OwnAvatar(Call& call, std::string_view payload);
  void NamedOutgoing(Call& call, std::string_view payload);
  void OwnRoomPosition(Call& call, std::string_view payload);
  void OwnRoomEntry(Call& call, std::string_view payload);
  void OwnMove(Call& call, std::string_view payload);

  void Tail(Call& call);
  void ToHost(const std::string& payload);
  void ToServer(const std::string& payload);

  Links l_;
  std::function<uint64_t()> host_count_;
  const LogWindowModel* log_window_ = nullptr;
  NoAvatarExchange no_exchange_;
  AvatarHook* hook_ = &no_exchange_;
};

}  // namespace tellu
