// What the chat fuzz targets share: a relay that aborts on a payload no frame
// can carry and keeps what was sent, a chat core on fakes with its log file
// open, and a reader of counted fields for the targets' own decoding.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "chat/chat_core.h"
#include "chat_parts.h"

namespace tellu::fuzz {

// Names the failed check's line, so that a crash input explains itself.
inline void Require(bool ok, int line = __builtin_LINE(), const char* file = __builtin_FILE()) {
  if (ok) return;
  std::fprintf(stderr, "check failed at %s:%d\n", file, line);
  std::abort();
}

class CheckingRelay : public RelayPort {
 public:
  void SendToServer(std::string_view p) override { to_server.emplace_back(Check(p)); }
  void SendToHost(std::string_view p) override { to_host.emplace_back(Check(p)); }
  bool HasServer() const override { return true; }

  std::vector<std::string> to_server, to_host;

 private:
  static std::string_view Check(std::string_view p) {
    Require(!p.empty() && p.size() <= kMaxPayload);
    return p;
  }
};

// Byte n of p, 0 past its end.
inline int At(std::string_view p, std::size_t n) {
  return n < p.size() ? static_cast<uint8_t>(p[n]) : 0;
}

// The counted field at `at` (cut short by the end), and the offset after it.
inline std::string_view Counted(std::string_view p, std::size_t& at) {
  const std::size_t n = static_cast<std::size_t>(At(p, at));
  at = std::min(at + 1, p.size());
  const std::string_view field = p.substr(at, n);
  at += field.size();
  return field;
}

// The settings are the target's to set; the core reads them at each message.
struct ChatWorld : ChatParts<CheckingRelay> {
  ChatWorld() {
    log_file.Prepare("C:\\logs\\");
    settings.settings().log_chk = 1;
  }
  ~ChatWorld() { log_file.Close(); }
  ChatWorld(const ChatWorld&) = delete;
  ChatWorld& operator=(const ChatWorld&) = delete;
};

}  // namespace tellu::fuzz
