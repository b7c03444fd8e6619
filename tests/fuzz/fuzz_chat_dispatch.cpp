// One payload from either side into a fresh chat core on fakes, with every
// reaction switched on.  Whatever the bytes, nothing may crash and every
// payload sent either way must be framable (1..254 bytes).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "chat/chat_core.h"
#include "platform/fake_files.h"
#include "platform/fake_profile.h"
#include "platform/fake_timers.h"
#include "platform/fake_ui.h"

namespace {

class CheckingRelay : public tellu::RelayPort {
 public:
  void SendToServer(std::string_view p) override { Check(p); }
  void SendToHost(std::string_view p) override { Check(p); }
  bool HasServer() const override { return true; }

 private:
  static void Check(std::string_view p) {
    if (p.empty() || p.size() > tellu::kMaxPayload) std::abort();
  }
};

}  // namespace

// First byte: bit 0 the direction, bit 1 away, bit 2 logged in as "me"
// first; the rest is the payload.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tellu;
  if (size < 2 || size - 1 > kMaxPayload) return 0;
  FakeProfile profile;
  SettingsStore settings(profile, "SYS1");
  Settings& s = settings.settings();
  s.whisper_msg = "brb";
  s.greeting = {true, std::string(kEverybody), "hi"};
  s.position_save_flag = s.who_window_flag = 1;
  settings.AddMute("troll");
  FakeFiles files;
  FakeTimers timers;
  LogStore log;
  LogFile log_file(files, timers, profile, "SYS1");
  log_file.Prepare("C:\\logs\\");
  log_file.set_switch(1);
  LogWindowModel window(log);
  FakeUi ui;
  CheckingRelay relay;
  uint64_t host_count = 0;
  ChatCore core(relay, settings, log, log_file, ui, [&host_count] { return host_count; });
  core.set_log_window(&window);
  if (data[0] & 4) {
    host_count = 1;
    core.DispAddBin(kFromHost, std::string_view("\x01\x06\x03\x00\x00\x00\x00\x02me", 10));
  }
  if (data[0] & 2) core.SetStatus(kAwayStatus);
  int direction = data[0] & 1;
  if (direction == kFromHost) ++host_count;
  std::string_view payload(reinterpret_cast<const char*>(data + 1), size - 1);
  int result = core.DispAddBin(direction, payload);
  if (result != kPassOn && result != kSwallow) std::abort();
  log_file.Close();
  return 0;
}
