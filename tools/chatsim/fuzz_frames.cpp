// Any byte stream into chatsim's framing, both parsers, the host's display
// and the server's routing with three connections taking turns.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core.h"
#include "frame.h"
#include "host.h"
#include "wire.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace tellu::chatsim;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ServerCore core;
  int ids[3] = {core.Connect(), core.Connect(), core.Connect()};
  bool alive[3] = {true, true, true};
  HostSession host("Fuzz", "avatar\\a.mov", 1);
  FrameReader reader;
  int turn = 0;
  reader.Feed(bytes, [&](std::string_view payload) {
    ParseFromClient(payload);
    host.Show(payload);
    const int i = turn++ % 3;
    if (alive[i] && !core.Receive(ids[i], payload)) {
      core.Disconnect(ids[i]);
      alive[i] = false;
    }
  });
  for (int i = 0; i < 3; ++i) {
    if (!alive[i]) continue;
    FrameReader out;
    out.Feed(*core.Output(ids[i]), [&](std::string_view payload) { host.Show(payload); });
  }
  return 0;
}
