// A relay on the fake Net with a parser that records every call.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fake_net.h"
#include "relay/relay.h"
#include "wire_bytes.h"

namespace tellu {

struct RecordingParser : ParserPort {
  struct Call {
    Direction direction;
    std::string payload;
    bool operator==(const Call&) const = default;
  };
  Verdict DispAddBin(Direction direction, std::string_view payload) override {
    calls.push_back({direction, std::string(payload)});
    return verdict ? verdict(direction, payload) : Verdict::kPassOn;
  }
  std::vector<Call> calls;
  std::function<Verdict(Direction, std::string_view)> verdict;
};

class RelayTest : public ::testing::Test {
 protected:
  static constexpr int kPort = 5200;
  void SetUp() override {
    relay.SetParser(&parser);
    relay.SetServer("chat.example.jp", [this] { return server_port; });
    relay.SetServerLostNotice([this](const std::string& text) { notices.push_back(text); });
    relay.SetPeerAccept([this](std::unique_ptr<CServSock> c) { peers.push_back(std::move(c)); });
    ASSERT_TRUE(relay.Open(kPort));
  }
  // The host connects and the server connect succeeds.
  void Start() {
    host = net.Accept(kPort);
    ASSERT_NE(host, nullptr);
    server = net.LastConnect();
    ASSERT_NE(server, nullptr);
    server->Complete("192.0.2.44");
  }

  FakeNet net;
  RecordingParser parser;
  Relay relay{net};
  int server_port = 5201;
  std::vector<std::string> notices;
  std::vector<std::unique_ptr<CServSock>> peers;
  FakeNet::Peer* host = nullptr;
  FakeNet::Peer* server = nullptr;
};

}  // namespace tellu
