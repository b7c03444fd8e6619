// Random byte streams in random splits through the relay, both directions:
// every payload the parser sees, and everything forwarded, matches a plain
// byte-at-a-time reassembly of the same streams.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/fake_net.h"
#include "relay/relay.h"
#include "wire_bytes.h"

namespace {

using tellu::FakeNet;
using tellu::Framed;

// The reference: one byte at a time, no shortcuts.
struct Reference {
  void Feed(std::string_view bytes, std::vector<std::string>& out) {
    for (char c : bytes) {
      const unsigned b = static_cast<uint8_t>(c);
      if (remaining == 0) {
        remaining = b >= 2 ? b - 1 : 0;
        buffer.clear();
      } else {
        buffer += c;
        if (--remaining == 0) out.push_back(buffer);
      }
    }
  }
  unsigned remaining = 0;
  std::string buffer;
};

// Swallows some payloads and answers some with a message of its own, and
// keeps what each side should then receive.
struct Parser : tellu::ParserPort {
  tellu::Verdict DispAddBin(tellu::Direction way, std::string_view payload) override {
    const int direction = static_cast<int>(way);
    seen[direction].push_back(std::string(payload));
    const uint8_t first = static_cast<uint8_t>(payload[0]);
    std::string& out = expected[direction];
    if (first % 5 == 0) {
      const std::string extra = "re:" + std::string(payload.substr(0, 10));
      out += Framed(extra);
      if (way == tellu::Direction::kFromHost)
        relay->SendToServer(extra);
      else
        relay->SendToHost(extra);
    }
    if (first % 3 == 0) return tellu::Verdict::kSwallow;
    out += Framed(payload);
    return tellu::Verdict::kPassOn;
  }
  tellu::Relay* relay = nullptr;
  std::vector<std::string> seen[2];
  std::string expected[2];  // [0]: to the server, [1]: to the host
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  FakeNet net;
  tellu::Relay relay(net);
  Parser parser;
  parser.relay = &relay;
  relay.SetParser(&parser);
  if (!relay.Open(5200)) std::abort();

  Reference reference[2];
  std::vector<std::string> want[2];
  FakeNet::Peer* host = nullptr;
  FakeNet::Peer* server = nullptr;
  std::string got[2];  // what reached server and host in ended sessions

  auto start = [&] {
    host = net.Accept(5200);
    server = net.LastConnect();
    if (!host || !server) std::abort();
    server->Complete();
    reference[0] = reference[1] = Reference{};
  };
  start();
  while (in.remaining_bytes() > 0) {
    const int op = in.ConsumeIntegralInRange(0, 15);
    if (op == 15) {
      // The server leaves: a message cut there is lost, the next host starts afresh.
      got[0] += server->sent();
      got[1] += host->sent();
      server->Close();
      start();
      continue;
    }
    const int direction = op & 1;
    const std::string chunk = in.ConsumeBytesAsString(in.ConsumeIntegralInRange(0, 300));
    reference[direction].Feed(chunk, want[direction]);
    (direction == static_cast<int>(tellu::Direction::kFromHost) ? host : server)->Feed(chunk);
  }
  got[0] += server->sent();
  got[1] += host->sent();

  for (int d = 0; d < 2; ++d) {
    if (parser.seen[d] != want[d]) std::abort();
    if (got[d] != parser.expected[d]) std::abort();
  }
  if (relay.HostMessageCount() != want[0].size()) std::abort();
  if (relay.ServerMessageCount() != want[1].size()) std::abort();
  return 0;
}
