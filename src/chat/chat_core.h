// The chat stream in one object: the object table, the movement, the chat
// state, the dispatcher and the voice, wired to the ports a front end (or a
// test) provides.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "chat/chat_state.h"
#include "chat/dispatcher.h"
#include "chat/movement.h"
#include "chat/objects.h"
#include "chat/voice.h"

namespace tellu {

class ChatCore {
 public:
  // host_message_count: the relay's count of complete host messages.
  ChatCore(RelayPort& relay, SettingsStore& settings, LogStore& log, LogFile& log_file, Ui& ui,
           std::function<uint64_t()> host_message_count);
  ChatCore(const ChatCore&) = delete;
  ChatCore& operator=(const ChatCore&) = delete;

  // The relay's parser entry.
  Verdict DispAddBin(Direction direction, std::string_view payload) {
    return dispatcher_.DispAddBin(direction, payload);
  }

  void SendChatLine(std::string_view line) { voice_.SendChatLine(line); }
  void Whisper(std::string_view target, std::string_view text, bool remember) {
    voice_.Whisper(target, text, remember);
  }
  void SystemLine(std::string_view text) { voice_.SystemLine(text); }
  void SetStatus(int index) { dispatcher_.SetStatus(index); }
  void SendOwnAvatar(std::string_view reference) { dispatcher_.SendOwnAvatar(reference); }

  // The bar's keys of virtual movement.
  void PressMoveKey(MoveKey key) { movement_.Press(key, state_.status); }
  void ApplyOffsets() { movement_.ApplyOffsets(state_.status); }
  void ToggleGhost(bool frozen) {
    movement_.ToggleGhost(frozen, state_.current_avatar, state_.status);
  }

  // F4 and Shift+F4 put these names in front of the text.
  const std::string& LastSpeaker() const { return state_.repeat.speaker; }
  const std::string& LastWhisperer() const { return state_.last_whisperer; }

  void set_log_window(const LogWindowModel* window) { dispatcher_.set_log_window(window); }
  void set_avatar_hook(AvatarHook* hook) { dispatcher_.set_avatar_hook(hook); }

  ChatState& state() { return state_; }
  const ObjectTable& objects() const { return objects_; }
  const Movement& movement() const { return movement_; }
  Voice& voice() { return voice_; }

 private:
  ChatState state_;
  ObjectTable objects_;
  Movement movement_;
  Voice voice_;
  Dispatcher dispatcher_;
};

}  // namespace tellu
