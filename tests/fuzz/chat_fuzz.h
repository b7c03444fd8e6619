// What the chat fuzz targets share: a relay that aborts on a payload no frame
// can carry, and a chat core on fakes with its log file open.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "chat/chat_core.h"
#include "platform/fake_files.h"
#include "platform/fake_profile.h"
#include "platform/fake_timers.h"
#include "platform/fake_ui.h"

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
struct ChatWorld {
  ChatWorld() {
    log_file.Prepare("C:\\logs\\");
    store.settings().log_chk = 1;
  }
  ~ChatWorld() { log_file.Close(); }
  ChatWorld(const ChatWorld&) = delete;
  ChatWorld& operator=(const ChatWorld&) = delete;

  Settings& settings() { return store.settings(); }

  FakeProfile profile;
  SettingsStore store{profile, "SYS1"};
  FakeFiles files;
  FakeTimers timers;
  LogStore log;
  LogFile log_file{files, timers, store.settings().log_chk, [this] { store.ForgetLogName(); }};
  FakeUi ui;
  CheckingRelay relay;
  uint64_t host_count = 0;
  ChatCore core{relay, store, log, log_file, ui, [this] { return host_count; }};
};

}  // namespace tellu::fuzz
