#include "chat/voice.h"

#include "chat/dispatcher.h"
#include "chat/wire.h"
#include "settings/unsendable.h"

namespace tellu {

namespace {

constexpr std::size_t kLastTargetColon = 12;
constexpr char kGreetingJoin[] = "\x81\x40\x81\x84";                // 　＞
constexpr char kHonorific[] = "\x82\xB3\x82\xF1";                   // さん
constexpr char kMuteNoticeHead[] = "\x81\x73";                      // 《
constexpr char kMuteNoticeTail[] =                                  // さんを自動的にミュート設定しました》
    "\x82\xB3\x82\xF1\x82\xF0\x8E\xA9\x93\xAE\x93\x49\x82\xC9\x83\x7E\x83\x85\x81\x5B\x83\x67"
    "\x90\xDD\x92\xE8\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x74";
constexpr char kEchoJoin[] = "--&gt;";

}  // namespace

Voice::Voice(ChatState& state, RelayPort& relay, SettingsStore& settings, Dispatcher& dispatcher)
    : state_(state), relay_(relay), settings_(settings), dispatcher_(dispatcher) {}

void Voice::SendChatLine(std::string_view line) {
  // ":" is never the second byte of a double-byte character, so a byte search
  // finds the first colon character.
  std::size_t colon = line.find(':');
  if (line.size() > 2 && colon >= 1 && colon <= kLastTargetColon) {
    Whisper(line.substr(0, colon), line.substr(colon + 1), true);
  } else if (!line.empty() && line[0] == '\t') {
    Whisper(state_.last_whisper_target, line, true);
  } else {
    Say(line);
  }
}

void Voice::Whisper(std::string_view target_view, std::string_view text_view, bool remember) {
  // Copies: the views may point into the state this changes.
  std::string target(target_view), text(text_view);
  if (target == state_.own_name && dispatcher_.AvatarWhisperCheck(text, target)) remember = false;
  if (remember) state_.last_whisper_target = target;
  std::string payload = BuildWhisper(target, state_.own_name, text);
  if (payload.empty()) return;
  relay_.SendToServer(payload);
  if (!remember) return;
  dispatcher_.DispAddBin(Direction::kFromHost, payload);
  std::string echo = BuildChatText(state_.own_name + kEchoJoin + target, text);
  if (!echo.empty()) relay_.SendToHost(echo);
}

void Voice::Say(std::string_view text) {
  std::string payload = BuildSay(text);
  if (!payload.empty()) relay_.SendToServer(payload);
}

void Voice::SystemLine(std::string_view text) {
  std::string payload = BuildChatText(kSystemSpeaker, text);
  if (payload.empty()) return;
  dispatcher_.DispAddBin(Direction::kFromServer, payload);
  relay_.SendToHost(payload);
}

bool Voice::TrackRepeat(const std::string& speaker, const std::string& text) {
  RepeatTracker& t = state_.repeat;
  // Checked first, so that a handle made exempt while it is being counted
  // still cannot be muted.
  if (speaker == settings_.settings().unmute) return false;
  if (speaker != t.speaker || text != t.text) {
    t = {speaker, text, 0};
    return false;
  }
  if (++t.count < kAutoMuteRepeats) return false;
  t.count = 0;
  // A handle the mute list cannot store is muted for this run only.
  settings_.Mute(speaker);
  SystemLine(kMuteNoticeHead + speaker + kMuteNoticeTail);
  return true;
}

std::optional<std::string> Voice::AutoReply(const std::string& prefix, const std::string& text,
                                            std::string_view payload) {
  const Settings& s = settings_.settings();
  // A reply that cannot be sent as written is none: the whisper is logged.
  if (!(state_.status == kAwayStatus || s.whisper_sw != 0) || s.whisper_msg.empty() ||
      !Sendable(s.whisper_msg))
    return std::nullopt;
  std::string key = prefix + text;
  if (key == state_.last_auto_replied) return std::nullopt;
  state_.last_auto_replied = std::move(key);
  relay_.SendToHost(payload);
  return s.whisper_msg;
}

void Voice::Greet(const std::string& name) {
  Greeting& g = settings_.settings().greeting;
  if (!g.enabled || !Sendable(g.text)) return;
  if (name == g.partner) {
    g.enabled = false;
    SendChatLine(std::string(g.text));
  } else if (g.partner == kEverybody) {
    SendChatLine(g.text + kGreetingJoin + name + kHonorific);
  }
}

}  // namespace tellu
