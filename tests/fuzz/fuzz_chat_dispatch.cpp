// One payload from either side into a fresh chat core on fakes, with every
// reaction switched on.  Whatever the bytes, nothing may crash, every payload
// sent either way must be framable (1..254 bytes), and for each kind whose
// fate does not hang on the reactions the verdict, what was sent on in its
// place and the names and rooms read back are those the message carried.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/chat_fuzz.h"
#include "fuzz/chat_oracle.h"

// First byte: bit 0 the direction, bit 1 away, bit 2 logged in as "me"
// first; the rest is the payload.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tellu;
  if (size < 2 || size - 1 > kMaxPayload) return 0;
  fuzz::ChatWorld w;
  Settings& s = w.settings.settings();
  s.whisper_msg = "brb";
  s.greeting = {true, std::string(kEverybody), "hi"};
  s.position_save_flag = s.who_window_flag = 1;
  w.settings.AddMute("troll");
  LogWindowModel window(w.log);
  ChatCore& core = w.core;
  uint64_t& host_count = w.host_count;
  core.set_log_window(&window);
  if (data[0] & 4) {
    host_count = 1;
    core.DispAddBin(Direction::kFromHost, std::string_view("\x01\x06\x03\x00\x00\x00\x00\x02me", 10));
  }
  if (data[0] & 2) core.SetStatus(kAwayStatus);
  const auto direction = static_cast<Direction>(data[0] & 1);
  if (direction == Direction::kFromHost) ++host_count;
  std::string_view payload(reinterpret_cast<const char*>(data + 1), size - 1);
  fuzz::oracle::Dispatch(w, direction, payload, host_count == 1);
  return 0;
}
