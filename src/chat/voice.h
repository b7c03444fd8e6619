// The program's own voice in the chat: chat lines, whispers, says and system
// lines, and the automatic reactions the dispatcher triggers (whisper reply,
// greeting, automatic mute).
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "chat/chat_state.h"
#include "relay/relay_port.h"
#include "settings/settings_store.h"

namespace tellu {

class Dispatcher;

class Voice {
 public:
  Voice(ChatState& state, RelayPort& relay, SettingsStore& settings, Dispatcher& dispatcher);

  // The single entry for a line of user text: "handle:text" with the colon at
  // byte 1..12 whispers, a leading tab whispers the whole line to the last
  // target, anything else is said.
  void SendChatLine(std::string_view line);
  // remember: the user's and the reactions' whispers are remembered as the
  // last target, logged and echoed to the host; the avatar exchange's are not.
  void Whisper(std::string_view target, std::string_view text, bool remember);
  void Say(std::string_view text);
  // Shows a line under the speaker "Tellu", logged like any other.
  void SystemLine(std::string_view text);

  // Repeat tracking for a line of someone other than the user.  True when
  // the line is the eighth identical one in a row and its speaker has just
  // been muted: the line is to be swallowed.
  bool TrackRepeat(const std::string& speaker, const std::string& text);
  // For a whisper about to be logged with `prefix`: when an automatic reply
  // is due, sends the whisper to the host at once and returns the reply text,
  // which the caller whispers back after logging.
  std::optional<std::string> AutoReply(const std::string& prefix, const std::string& text,
                                       std::string_view payload);
  // For every named-object message.
  void Greet(const std::string& name);

 private:
  ChatState& state_;
  RelayPort& relay_;
  SettingsStore& settings_;
  Dispatcher& dispatcher_;
};

// Fixed texts, Shift-JIS.
inline constexpr std::string_view kSystemSpeaker = "Tellu";
inline constexpr std::string_view kEverybody = "\xC0\xDE\xDA\xC6\xC3\xDE\xD3";  // ﾀﾞﾚﾆﾃﾞﾓ
inline constexpr int kAutoMuteRepeats = 7;

}  // namespace tellu
