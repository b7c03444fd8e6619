// Test double of the relay's send side: keeps every payload in order.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "relay/relay_port.h"

namespace tellu {

class RecordingRelay : public RelayPort {
 public:
  void SendToServer(std::string_view payload) override { to_server.emplace_back(payload); }
  void SendToHost(std::string_view payload) override { to_host.emplace_back(payload); }
  bool HasServer() const override { return has_server; }

  void Clear() {
    to_server.clear();
    to_host.clear();
  }

  std::vector<std::string> to_server, to_host;
  bool has_server = true;
};

// Payload bytes from a literal that may hold zero bytes.
template <std::size_t N>
std::string Bytes(const char (&s)[N]) {
  return std::string(s, N - 1);
}

}  // namespace tellu
