// The relay on real loopback sockets, between a stand-in host and server.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "posix/posix_net.h"
#include "relay/relay.h"
#include "wire_bytes.h"

namespace tellu {
namespace {

constexpr int kDeadlineMs = 20000;

struct Ear {
  void Attach(Stream& s) {
    s.SetHandlers([this](std::string_view b) { got.append(b); }, [this] { ++closes; });
  }
  std::string got;
  int closes = 0;
};

TEST(RelayOverSockets, HostAndServerTalkThroughTheRelayUntilTheServerLeaves) {
  PosixLoop loop;
  PosixNet net(loop);
  std::vector<std::unique_ptr<Stream>> at_server;
  auto server_listener =
      net.Listen(0, [&](std::unique_ptr<Stream> s) { at_server.push_back(std::move(s)); });
  ASSERT_NE(server_listener, nullptr);

  Relay relay(net);
  relay.SetServer("127.0.0.1", [&] { return server_listener->Port(); });
  std::vector<std::string> notices;
  relay.SetServerLostNotice([&](const std::string& text) { notices.push_back(text); });
  ASSERT_TRUE(relay.Open(0));

  auto host = net.Connect("localhost", relay.ListeningPort(), [](bool) {});
  Ear host_ear, server_ear;
  host_ear.Attach(*host);
  host->Send(Framed("login"));  // may reach the relay before its server connection
  ASSERT_TRUE(loop.RunUntil([&] { return !at_server.empty(); }, kDeadlineMs));
  server_ear.Attach(*at_server[0]);
  ASSERT_TRUE(loop.RunUntil([&] { return server_ear.got == Framed("login"); }, kDeadlineMs));
  EXPECT_EQ(relay.OwnAddress(), "127.0.0.1");

  std::string stream;
  for (int i = 0; i < 20000; ++i) stream += Framed("message " + std::to_string(i));
  at_server[0]->Send(stream);
  ASSERT_TRUE(loop.RunUntil([&] { return host_ear.got.size() >= stream.size(); }, kDeadlineMs));
  EXPECT_TRUE(host_ear.got == stream);
  EXPECT_EQ(relay.ServerMessageCount(), 20000u);

  at_server[0]->Close();
  ASSERT_TRUE(loop.RunUntil([&] { return host_ear.closes > 0; }, kDeadlineMs));
  EXPECT_EQ(notices.size(), 1u);
  EXPECT_FALSE(relay.HasServer());
}

}  // namespace
}  // namespace tellu
