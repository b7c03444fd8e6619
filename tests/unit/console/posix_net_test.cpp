#include "posix/posix_net.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tellu {
namespace {

constexpr int kDeadlineMs = 20000;

// What one side of a connection has heard.
struct Ear {
  void Attach(Stream& s) {
    s.SetHandlers([this](std::string_view b) { got.append(b); }, [this] { ++closes; });
  }
  std::string got;
  int closes = 0;
};

std::string Pattern(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
  return s;
}

class PosixNetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    listener = net.Listen(0, [this](std::unique_ptr<Stream> s) { accepted.push_back(std::move(s)); });
    ASSERT_NE(listener, nullptr);
  }
  // A client connected to the listener, and its accepted side.
  void Pair(const std::string& host = "127.0.0.1") {
    const size_t before = accepted.size();
    outcomes.clear();
    client = net.Connect(host, listener->Port(), [this](bool ok) { outcomes.push_back(ok); });
    ASSERT_TRUE(loop.RunUntil([&] { return !outcomes.empty() && accepted.size() > before; },
                              kDeadlineMs));
    ASSERT_EQ(outcomes, std::vector<bool>{true});
    server = accepted.back().get();
  }

  PosixLoop loop;
  PosixNet net{loop};
  std::unique_ptr<Listener> listener;
  std::vector<std::unique_ptr<Stream>> accepted;
  std::unique_ptr<Stream> client;
  Stream* server = nullptr;
  std::vector<bool> outcomes;
};

TEST_F(PosixNetTest, ConnectionCarriesBytesBothWaysWithDottedAddresses) {
  Pair();
  Ear client_ear, server_ear;
  client_ear.Attach(*client);
  server_ear.Attach(*server);
  client->Send("hello ");
  client->Send("server");
  server->Send("hi");
  ASSERT_TRUE(loop.RunUntil([&] { return server_ear.got.size() == 12 && client_ear.got.size() == 2; },
                            kDeadlineMs));
  EXPECT_EQ(server_ear.got, "hello server");
  EXPECT_EQ(client_ear.got, "hi");
  EXPECT_EQ(client->LocalAddress(), "127.0.0.1");
  EXPECT_EQ(server->PeerAddress(), "127.0.0.1");
  EXPECT_TRUE(server->PeerIsLoopback());
}

TEST_F(PosixNetTest, HostNamesAreResolved) { Pair("localhost"); }

TEST_F(PosixNetTest, FailedConnectIsReportedOnceAndNothingElse) {
  const int port = listener->Port();
  listener.reset();
  Ear ear;
  auto s = net.Connect("127.0.0.1", port, [this](bool ok) { outcomes.push_back(ok); });
  ear.Attach(*s);
  ASSERT_TRUE(loop.RunUntil([&] { return !outcomes.empty(); }, kDeadlineMs));
  loop.RunOnce(0);
  EXPECT_EQ(outcomes, std::vector<bool>{false});
  EXPECT_EQ(ear.closes, 0);
  EXPECT_FALSE(s->IsOpen());
}

TEST_F(PosixNetTest, ClosedConnectHearsNothing) {
  auto s = net.Connect("127.0.0.1", listener->Port(), [this](bool ok) { outcomes.push_back(ok); });
  s.reset();
  auto unresolvable = net.Connect("no-such-host.invalid", 1, [this](bool ok) { outcomes.push_back(ok); });
  unresolvable->Close();
  loop.RunUntil([] { return false; }, 50);
  EXPECT_TRUE(outcomes.empty());
}

TEST_F(PosixNetTest, PortInUseCannotBeHad) {
  EXPECT_EQ(net.Listen(listener->Port(), [](std::unique_ptr<Stream>) {}), nullptr);
}

TEST_F(PosixNetTest, WritesBeyondAFullSocketBufferAreQueuedAndDeliveredWhole) {
  Pair();
  const std::string big = Pattern(24 << 20);
  client->Send(big);
  // The far side reads nothing yet: the kernel buffers fill and the rest waits.
  for (int i = 0; i < 50; ++i) loop.RunOnce(0);
  Ear ear;
  ear.Attach(*server);
  ASSERT_TRUE(loop.RunUntil([&] { return ear.got.size() >= big.size(); }, kDeadlineMs));
  EXPECT_TRUE(ear.got == big);
}

TEST_F(PosixNetTest, ManySmallSendsArriveInOrder) {
  Pair();
  Ear ear;
  ear.Attach(*server);
  std::string expected;
  for (int round = 0; round < 20; ++round) {
    for (int i = 0; i < 5000; ++i) {
      const std::string message = std::to_string(round * 5000 + i) + ";";
      client->Send(message);
      expected += message;
    }
    loop.RunOnce(0);
  }
  ASSERT_TRUE(loop.RunUntil([&] { return ear.got.size() >= expected.size(); }, kDeadlineMs));
  EXPECT_TRUE(ear.got == expected);
}

TEST_F(PosixNetTest, CloseStillSendsWhatIsQueuedThenThePeerHearsTheClose) {
  Pair();
  Ear ear, closer_ear;
  ear.Attach(*server);
  closer_ear.Attach(*client);
  const std::string big = Pattern(8 << 20);
  client->Send(big);
  client.reset();
  ASSERT_TRUE(loop.RunUntil([&] { return ear.closes > 0; }, kDeadlineMs));
  EXPECT_TRUE(ear.got == big);
  EXPECT_EQ(ear.closes, 1);
  EXPECT_EQ(closer_ear.closes, 0);
  EXPECT_FALSE(server->IsOpen());
}

TEST_F(PosixNetTest, CallbackMayDestroyItsOwnAndAnotherConnection) {
  Pair();
  std::unique_ptr<Stream> first = std::move(client);
  Pair();
  std::unique_ptr<Stream> second = std::move(client);
  ASSERT_EQ(accepted.size(), 2u);
  int calls = 0;
  auto destroy_both = [&](std::string_view) {
    ++calls;
    first.reset();
    second.reset();
  };
  first->SetHandlers(destroy_both, [] {});
  second->SetHandlers(destroy_both, [] {});
  accepted[0]->Send("x");
  accepted[1]->Send("y");
  ASSERT_TRUE(loop.RunUntil([&] { return calls > 0; }, kDeadlineMs));
  loop.RunUntil([] { return false; }, 20);
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace tellu
