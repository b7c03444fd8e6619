// The Net contract on real loopback sockets, run against each platform's
// implementation (the platform's MakeNetRig gives it).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "net/net_rig.h"

namespace tellu {
namespace {

constexpr int kDeadlineMs = 30000;

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

class NetContract : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(rig->ok());
    listener =
        net.Listen(0, [this](std::unique_ptr<Stream> s) { accepted.push_back(std::move(s)); });
    ASSERT_NE(listener, nullptr);
    ASSERT_GT(listener->Port(), 0);
  }
  // A client connected to the listener, and its accepted side.
  void Pair(const std::string& host = "127.0.0.1") {
    const size_t before = accepted.size();
    outcomes.clear();
    client = net.Connect(host, listener->Port(), [this](bool ok) { outcomes.push_back(ok); });
    ASSERT_TRUE(
        RunUntil([&] { return !outcomes.empty() && accepted.size() > before; }, kDeadlineMs));
    ASSERT_EQ(outcomes, std::vector<bool>{true});
    server = accepted.back().get();
  }
  bool RunUntil(const std::function<bool()>& done, int ms) { return rig->RunUntil(done, ms); }
  void Idle(int ms) { rig->Idle(ms); }

  std::unique_ptr<NetRig> rig = MakeNetRig();
  Net& net = rig->net();
  std::unique_ptr<Listener> listener;
  std::vector<std::unique_ptr<Stream>> accepted;
  std::unique_ptr<Stream> client;
  Stream* server = nullptr;
  std::vector<bool> outcomes;
};

TEST_F(NetContract, ConnectionCarriesBytesBothWaysWithDottedAddresses) {
  Pair();
  Ear client_ear, server_ear;
  client_ear.Attach(*client);
  server_ear.Attach(*server);
  client->Send("hello ");
  client->Send("server");
  server->Send("hi");
  ASSERT_TRUE(RunUntil(
      [&] { return server_ear.got.size() == 12 && client_ear.got.size() == 2; }, kDeadlineMs));
  EXPECT_EQ(server_ear.got, "hello server");
  EXPECT_EQ(client_ear.got, "hi");
  EXPECT_TRUE(client->IsOpen());
  EXPECT_EQ(client->LocalAddress(), "127.0.0.1");
  EXPECT_EQ(client->PeerAddress(), "127.0.0.1");
  EXPECT_EQ(server->PeerAddress(), "127.0.0.1");
  EXPECT_TRUE(server->PeerIsLoopback());
  EXPECT_TRUE(client->PeerIsLoopback());
}

TEST_F(NetContract, HostNamesAreResolved) { Pair("localhost"); }

TEST_F(NetContract, ConnectOutcomeComesFromTheLoopNotFromTheCall) {
  bool called = false;
  auto s = net.Connect("127.0.0.1", listener->Port(), [&](bool) { called = true; });
  auto bad = net.Connect("no-such-host.invalid", 1, [&](bool) { called = true; });
  EXPECT_FALSE(called);
  EXPECT_FALSE(s->IsOpen());
  EXPECT_EQ(s->LocalAddress(), "");
}

TEST_F(NetContract, FailedConnectIsReportedOnceAndNothingElse) {
  const int port = listener->Port();
  listener.reset();
  Ear ear;
  auto s = net.Connect("127.0.0.1", port, [this](bool ok) { outcomes.push_back(ok); });
  ear.Attach(*s);
  ASSERT_TRUE(RunUntil([&] { return !outcomes.empty(); }, kDeadlineMs));
  // A second failed connect, started now, must be heard in the same wait
  // in which the first one must stay quiet.
  std::vector<bool> control;
  auto later = net.Connect("127.0.0.1", port, [&](bool ok) { control.push_back(ok); });
  ASSERT_TRUE(RunUntil([&] { return !control.empty(); }, kDeadlineMs));
  EXPECT_EQ(control, std::vector<bool>{false});
  EXPECT_EQ(outcomes, std::vector<bool>{false});
  EXPECT_EQ(ear.closes, 0);
  EXPECT_FALSE(s->IsOpen());
}

TEST_F(NetContract, BadTargetsFailLater) {
  const struct {
    const char* host;
    int port;
  } targets[] = {{"no-such-host.invalid", 5200}, {"127.0.0.1", 70000}, {"127.0.0.1", 0},
                 {"127.0.0.1", -1},              {"", 5200},           {"127.0.0.1", 65536}};
  std::vector<std::unique_ptr<Stream>> streams;
  for (const auto& t : targets)
    streams.push_back(net.Connect(t.host, t.port, [this](bool ok) { outcomes.push_back(ok); }));
  EXPECT_TRUE(outcomes.empty());
  ASSERT_TRUE(RunUntil([&] { return outcomes.size() == std::size(targets); }, kDeadlineMs));
  EXPECT_EQ(outcomes, std::vector<bool>(std::size(targets), false));
}

TEST_F(NetContract, ClosedConnectHearsNothing) {
  auto s = net.Connect("127.0.0.1", listener->Port(), [this](bool ok) { outcomes.push_back(ok); });
  s.reset();
  auto unresolvable =
      net.Connect("no-such-host.invalid", 1, [this](bool ok) { outcomes.push_back(ok); });
  unresolvable->Close();
  // The same two connects left open must be heard in the same wait.
  std::vector<bool> control;
  auto open = net.Connect("127.0.0.1", listener->Port(), [&](bool ok) { control.push_back(ok); });
  auto open_unresolvable =
      net.Connect("no-such-host.invalid", 1, [&](bool ok) { control.push_back(ok); });
  ASSERT_TRUE(RunUntil([&] { return control.size() == 2; }, kDeadlineMs));
  EXPECT_TRUE(outcomes.empty());
}

TEST_F(NetContract, PortsThatCannotBeHad) {
  for (const int port : {listener->Port(), -1, 65536, 1 << 20})
    EXPECT_EQ(net.Listen(port, [](std::unique_ptr<Stream>) {}), nullptr) << port;
}

TEST_F(NetContract, BytesWaitForTheHandlersAndSoDoesTheClose) {
  Pair();
  client->Send("early");
  client.reset();
  // Neither the bytes nor the close are lost while nobody listens.
  Idle(200);
  Ear ear;
  ear.Attach(*server);
  EXPECT_EQ(ear.got, "");  // nothing from inside SetHandlers
  ASSERT_TRUE(RunUntil([&] { return ear.closes > 0; }, kDeadlineMs));
  EXPECT_EQ(ear.got, "early");
  EXPECT_EQ(ear.closes, 1);
  EXPECT_FALSE(server->IsOpen());
}

TEST_F(NetContract, WritesBeyondAFullSocketBufferAreQueuedAndDeliveredWhole) {
  Pair();
  const std::string big = Pattern(24 << 20);
  client->Send(big);
  // The far side reads nothing yet: the kernel buffers fill and the rest waits.
  Idle(100);
  Ear ear;
  ear.Attach(*server);
  ASSERT_TRUE(RunUntil([&] { return ear.got.size() >= big.size(); }, kDeadlineMs));
  EXPECT_TRUE(ear.got == big);
}

TEST_F(NetContract, ManySmallSendsArriveInOrderBothWays) {
  Pair();
  Ear server_ear, client_ear;
  server_ear.Attach(*server);
  client_ear.Attach(*client);
  std::string expected;
  for (int round = 0; round < 20; ++round) {
    for (int i = 0; i < 5000; ++i) {
      const std::string message = std::to_string(round * 5000 + i) + ";";
      client->Send(message);
      server->Send(message);
      expected += message;
    }
    RunUntil([] { return false; }, 0);  // what is waiting, no more
  }
  ASSERT_TRUE(RunUntil(
      [&] {
        return server_ear.got.size() >= expected.size() &&
               client_ear.got.size() >= expected.size();
      },
      kDeadlineMs));
  EXPECT_TRUE(server_ear.got == expected);
  EXPECT_TRUE(client_ear.got == expected);
}

TEST_F(NetContract, CloseStillSendsWhatIsQueuedThenThePeerHearsTheClose) {
  Pair();
  Ear ear, closer_ear;
  ear.Attach(*server);
  closer_ear.Attach(*client);
  const std::string big = Pattern(8 << 20);
  client->Send(big);
  client.reset();
  ASSERT_TRUE(RunUntil([&] { return ear.closes > 0; }, kDeadlineMs));
  EXPECT_TRUE(ear.got == big);
  EXPECT_EQ(ear.closes, 1);
  EXPECT_EQ(closer_ear.closes, 0);
  EXPECT_FALSE(server->IsOpen());
}

TEST_F(NetContract, TheAcceptingSideMayCloseToo) {
  Pair();
  Ear ear, closer_ear;
  ear.Attach(*client);
  closer_ear.Attach(*server);
  server->Send("bye");
  server->Close();
  EXPECT_FALSE(server->IsOpen());
  server->Send("ignored after close");
  ASSERT_TRUE(RunUntil([&] { return ear.closes > 0; }, kDeadlineMs));
  Idle(50);
  EXPECT_EQ(ear.got, "bye");
  EXPECT_EQ(ear.closes, 1);
  EXPECT_EQ(closer_ear.closes, 0);
}

TEST_F(NetContract, BytesSentWhileConnectingWaitForTheConnection) {
  Ear ear;
  auto s = net.Connect("127.0.0.1", listener->Port(), [](bool) {});
  s->Send("queued before");
  s->Send(" the connect");
  ASSERT_TRUE(RunUntil([&] { return !accepted.empty(); }, kDeadlineMs));
  ear.Attach(*accepted[0]);
  ASSERT_TRUE(RunUntil([&] { return ear.got.size() >= 25; }, kDeadlineMs));
  EXPECT_EQ(ear.got, "queued before the connect");
}

TEST_F(NetContract, CallbackMayDestroyItsOwnAndAnotherConnection) {
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
  ASSERT_TRUE(RunUntil([&] { return calls > 0; }, kDeadlineMs));
  Idle(50);
  EXPECT_EQ(calls, 1);
}

TEST_F(NetContract, CloseHandlerMayDestroyTheConnectionAndTheListener) {
  Pair();
  int closes = 0;
  server->SetHandlers([](std::string_view) {},
                      [&] {
                        ++closes;
                        accepted.clear();
                        listener.reset();
                      });
  client.reset();
  ASSERT_TRUE(RunUntil([&] { return closes > 0; }, kDeadlineMs));
  Idle(50);
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(accepted.empty());
}

TEST_F(NetContract, AcceptHandlerMayStopListening) {
  int accepts = 0;
  std::vector<std::unique_ptr<Stream>> kept;
  listener = net.Listen(0, [&](std::unique_ptr<Stream> s) {
    ++accepts;
    kept.push_back(std::move(s));
    listener.reset();
  });
  ASSERT_NE(listener, nullptr);
  const int port = listener->Port();
  auto a = net.Connect("127.0.0.1", port, [](bool) {});
  ASSERT_TRUE(RunUntil([&] { return accepts > 0; }, kDeadlineMs));
  auto b = net.Connect("127.0.0.1", port, [this](bool ok) { outcomes.push_back(ok); });
  ASSERT_TRUE(RunUntil([&] { return !outcomes.empty(); }, kDeadlineMs));
  EXPECT_EQ(outcomes, std::vector<bool>{false});
  EXPECT_EQ(accepts, 1);
}

// A peer that stops reading holds the other connections' input in the
// kernel until it takes its bytes again; its own far end is never held.
TEST_F(NetContract, AStalledPeerHoldsTheOthersBackUntilItDrains) {
  Pair();
  Stream* slow_reader = server;
  std::unique_ptr<Stream> slow_sender = std::move(client);
  Pair();
  Ear held, slow;
  held.Attach(*client);
  const std::string big = Pattern(32 << 20);
  slow_sender->Send(big);
  Idle(200);
  server->Send("waits in the kernel");
  Idle(200);
  EXPECT_EQ(held.got, "");
  slow.Attach(*slow_reader);
  ASSERT_TRUE(RunUntil([&] { return held.got.size() == 19; }, kDeadlineMs));
  EXPECT_EQ(held.got, "waits in the kernel");
  ASSERT_TRUE(RunUntil([&] { return slow.got.size() >= big.size(); }, kDeadlineMs));
  EXPECT_TRUE(slow.got == big);
}

// A data callback that runs the loop itself (a message box) is not entered
// again from there; what arrives meanwhile comes after it returns.
TEST_F(NetContract, ADataCallbackIsNeverEnteredAgainWhileItRuns) {
  Pair();
  int depth = 0, deepest = 0;
  std::string got;
  server->SetHandlers(
      [&](std::string_view bytes) {
        deepest = std::max(deepest, ++depth);
        got.append(bytes);
        if (got == "first") {
          client->Send("second");
          Idle(200);
        }
        --depth;
      },
      [] {});
  client->Send("first");
  ASSERT_TRUE(RunUntil([&] { return got.size() == 11; }, kDeadlineMs));
  EXPECT_EQ(got, "firstsecond");
  EXPECT_EQ(deepest, 1);
}

}  // namespace
}  // namespace tellu
