// A whole chat core on fakes for the dispatcher, voice, status and
// conversation tests, with a stand-in for the relay: it counts host messages
// and forwards what DispAddBin lets through, so `to_host` and `to_server`
// hold every byte each side would receive, in order.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "chat/chat_core.h"
#include "chat_parts.h"
#include "chat/kinds.h"
#include "log/log_file.h"
#include "log/log_store.h"
#include "platform/fake_files.h"
#include "platform/fake_profile.h"
#include "platform/fake_timers.h"
#include "platform/fake_ui.h"
#include "settings/settings_store.h"

namespace tellu::chat_test {

class RelayRecorder : public RelayPort {
 public:
  void SendToServer(std::string_view payload) override {
    to_server.emplace_back(payload);
    both.emplace_back(Direction::kFromHost, payload);
  }
  void SendToHost(std::string_view payload) override {
    to_host.emplace_back(payload);
    both.emplace_back(Direction::kFromServer, payload);
  }
  bool HasServer() const override { return true; }
  void Clear() {
    to_server.clear();
    to_host.clear();
    both.clear();
  }
  std::vector<std::string> to_server, to_host;
  // (direction the payload travels, payload) across both sides.
  std::vector<std::pair<Direction, std::string>> both;
};

// Bytes of a literal that may hold zero bytes.
template <std::size_t N>
std::string B(const char (&s)[N]) {
  return std::string(s, N - 1);
}
inline std::string B(std::string_view head) { return std::string(head); }

// A counted string of ASCII text (its wire form is the same bytes).
inline std::string Str(std::string_view s) {
  return static_cast<char>(s.size()) + std::string(s);
}

inline std::string Pos(int x, int y, int z, int dir) {
  std::string out;
  for (int v : {x, y, z, dir}) {
    out += static_cast<char>((v >> 8) & 0xFF);
    out += static_cast<char>(v & 0xFF);
  }
  return out;
}

inline std::string ChatText(std::string_view speaker, std::string_view text) {
  return B(kind::kChatText) + Str(speaker) + Str(text);
}
inline std::string WhisperIn(std::string_view speaker, std::string_view text) {
  return B(kind::kWhisper) + Str(speaker) + Str(text);
}
inline std::string WhisperOut(std::string_view target, std::string_view sender,
                              std::string_view text) {
  return B(kind::kNamedOutgoing) + Str(target) + B(kind::kWhisperSent) +
         Str(sender) + Str(text);
}
inline std::string Login(std::string_view name) {
  return B(kind::kLogin) + Str("pw") + B("\x04") + Str("x") + B("\x05") + Str(name);
}

class ChatTest : public ::testing::Test, protected ChatParts<RelayRecorder> {
 protected:
  ChatTest() {
    log_file.Prepare("C:\\logs\\");
    settings.settings().log_chk = 1;
  }

  // As the relay: count, parse, forward when let through.
  Verdict FromHost(const std::string& payload) {
    ++host_count;
    Verdict result = core.DispAddBin(Direction::kFromHost, payload);
    if (result == Verdict::kPassOn) relay.SendToServer(payload);
    return result;
  }
  Verdict FromServer(const std::string& payload) {
    Verdict result = core.DispAddBin(Direction::kFromServer, payload);
    if (result == Verdict::kPassOn) relay.SendToHost(payload);
    return result;
  }
  void LogIn(std::string_view name) {
    host_count = 0;
    FromHost(Login(name));
  }

  std::string LogFileBytes() { return files.Get("C:\\logs\\020203.txt"); }
  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    for (const auto* list : {&log.shown(), &log.pending()})
      for (const LogEntry& e : *list) lines.push_back(e.prefix + " " + e.text);
    return lines;
  }

};

// Claims the whispers whose text starts with its prefix, recording each offer.
class ClaimingHook : public AvatarHook {
 public:
  explicit ClaimingHook(std::string prefix) : prefix_(std::move(prefix)) {}
  int AvatarWhisperCheck(const std::string& text, const std::string& speaker) override {
    offers.emplace_back(text, speaker);
    return text.starts_with(prefix_) ? 1 : 0;
  }
  std::vector<std::pair<std::string, std::string>> offers;

 private:
  std::string prefix_;
};

}  // namespace tellu::chat_test
