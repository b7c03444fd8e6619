// A run of messages and user actions into one chat core on fakes, so that
// state built by earlier messages (names, rooms, ghost, offsets, trackers)
// meets later ones.  Nothing may crash; every payload sent either way must be
// framable (1..254 bytes); each message's verdict, what is sent in its place
// and the names and rooms read back after it are the oracle's.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/chat_fuzz.h"
#include "fuzz/chat_oracle.h"

// The input is a list of steps: a kind byte, a length byte, that many bytes.
// Kinds (low three bits): 0 from the host, 1 from the server, 2 a chat line,
// 3 a status, 4 a movement key, 5 the ghost, 6 a system line, 7 the
// exchange's whisper.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tellu;
  fuzz::ChatWorld w;
  Settings& s = w.settings.settings();
  s.whisper_msg = "brb";
  s.whisper_sw = 1;
  s.unmute = "pal";
  s.greeting = {true, std::string(kEverybody), "amy:hi"};
  ChatCore& core = w.core;
  uint64_t& host_count = w.host_count;

  size_t at = 0;
  while (at + 2 <= size) {
    int kind = data[at] & 7;
    size_t n = data[at + 1];
    at += 2;
    if (n > size - at) n = size - at;
    std::string_view bytes(reinterpret_cast<const char*>(data + at), n);
    at += n;
    uint8_t first = n ? data[at - n] : 0;
    switch (kind) {
      case 0:
        if (n == 0 || n > kMaxPayload) break;
        ++host_count;
        fuzz::oracle::Dispatch(w, Direction::kFromHost, bytes, host_count == 1);
        break;
      case 1:
        if (n == 0 || n > kMaxPayload) break;
        fuzz::oracle::Dispatch(w, Direction::kFromServer, bytes, false);
        break;
      case 2:
        core.SendChatLine(bytes.substr(0, 110));
        break;
      case 3:
        core.SetStatus(first % 9 - 1);
        break;
      case 4:
        core.PressMoveKey(static_cast<MoveKey>(first % 7));
        break;
      case 5:
        core.ToggleGhost(first & 1);
        break;
      case 6:
        core.SystemLine(bytes);
        break;
      case 7:
        core.Whisper(core.LastWhisperer(), bytes, false);
        break;
    }
  }
  return 0;
}
