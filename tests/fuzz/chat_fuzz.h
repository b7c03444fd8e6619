// What the chat fuzz targets share: a relay that aborts on a payload no frame
// can carry, and a chat core on fakes with its log file open.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "chat/chat_core.h"
#include "chat_parts.h"

namespace tellu::fuzz {

inline void Require(bool ok) {
  if (!ok) std::abort();
}

class CheckingRelay : public RelayPort {
 public:
  void SendToServer(std::string_view p) override { Check(p); }
  void SendToHost(std::string_view p) override { Check(p); }
  bool HasServer() const override { return true; }

 private:
  static void Check(std::string_view p) { Require(!p.empty() && p.size() <= kMaxPayload); }
};

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
