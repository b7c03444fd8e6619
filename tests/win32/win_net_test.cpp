// The Winsock Net adapter on real loopback sockets.
#include "win32/win_net.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "win32/message_window.h"

namespace tellu {
namespace {

constexpr DWORD kDeadlineMs = 30000;

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

// Runs the loop a while for things that must not happen.
void Idle(DWORD ms) {
  const DWORD start = GetTickCount();
  const UINT_PTR wake = SetTimer(nullptr, 0, 10, nullptr);
  PumpMessagesUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
  KillTimer(nullptr, wake);
}

class WinNetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(winsock.ok());
    ASSERT_TRUE(events.ok());
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
    ASSERT_TRUE(PumpMessagesUntil([&] { return !outcomes.empty() && accepted.size() > before; },
                                  kDeadlineMs));
    ASSERT_EQ(outcomes, std::vector<bool>{true});
    server = accepted.back().get();
  }

  WinsockSession winsock;
  MessageWindow events;
  WinNet net{events};
  std::unique_ptr<Listener> listener;
  std::vector<std::unique_ptr<Stream>> accepted;
  std::unique_ptr<Stream> client;
  Stream* server = nullptr;
  std::vector<bool> outcomes;
};

TEST_F(WinNetTest, ConnectionCarriesBytesBothWaysWithDottedAddresses) {
  Pair();
  Ear client_ear, server_ear;
  client_ear.Attach(*client);
  server_ear.Attach(*server);
  client->Send("hello ");
  client->Send("server");
  server->Send("hi");
  ASSERT_TRUE(PumpMessagesUntil(
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

TEST_F(WinNetTest, HostNamesAreResolved) { Pair("localhost"); }

TEST_F(WinNetTest, ConnectOutcomeComesFromTheLoopNotFromTheCall) {
  bool called = false;
  auto s = net.Connect("127.0.0.1", listener->Port(), [&](bool) { called = true; });
  auto bad = net.Connect("no-such-host.invalid", 1, [&](bool) { called = true; });
  EXPECT_FALSE(called);
  EXPECT_FALSE(s->IsOpen());
  EXPECT_EQ(s->LocalAddress(), "");
}

TEST_F(WinNetTest, FailedConnectIsReportedOnceAndNothingElse) {
  const int port = listener->Port();
  listener.reset();
  Ear ear;
  auto s = net.Connect("127.0.0.1", port, [this](bool ok) { outcomes.push_back(ok); });
  ear.Attach(*s);
  ASSERT_TRUE(PumpMessagesUntil([&] { return !outcomes.empty(); }, kDeadlineMs));
  Idle(50);
  EXPECT_EQ(outcomes, std::vector<bool>{false});
  EXPECT_EQ(ear.closes, 0);
  EXPECT_FALSE(s->IsOpen());
}

TEST_F(WinNetTest, UnresolvableNameAndBadPortFailLater) {
  auto a = net.Connect("no-such-host.invalid", 5200, [this](bool ok) { outcomes.push_back(ok); });
  auto b = net.Connect("127.0.0.1", 70000, [this](bool ok) { outcomes.push_back(ok); });
  EXPECT_TRUE(outcomes.empty());
  ASSERT_TRUE(PumpMessagesUntil([&] { return outcomes.size() == 2; }, kDeadlineMs));
  EXPECT_EQ(outcomes, (std::vector<bool>{false, false}));
}

TEST_F(WinNetTest, ClosedConnectHearsNothing) {
  auto s = net.Connect("127.0.0.1", listener->Port(), [this](bool ok) { outcomes.push_back(ok); });
  s.reset();
  auto unresolvable =
      net.Connect("no-such-host.invalid", 1, [this](bool ok) { outcomes.push_back(ok); });
  unresolvable->Close();
  Idle(100);
  EXPECT_TRUE(outcomes.empty());
}

TEST_F(WinNetTest, PortInUseCannotBeHad) {
  EXPECT_EQ(net.Listen(listener->Port(), [](std::unique_ptr<Stream>) {}), nullptr);
}

TEST_F(WinNetTest, BytesWaitForTheHandlersAndSoDoesTheClose) {
  Pair();
  client->Send("early");
  client.reset();
  // Neither the bytes nor the close are lost while nobody listens.
  Idle(200);
  Ear ear;
  ear.Attach(*server);
  EXPECT_EQ(ear.got, "");  // nothing from inside SetHandlers
  ASSERT_TRUE(PumpMessagesUntil([&] { return ear.closes > 0; }, kDeadlineMs));
  EXPECT_EQ(ear.got, "early");
  EXPECT_EQ(ear.closes, 1);
  EXPECT_FALSE(server->IsOpen());
}

TEST_F(WinNetTest, WritesBeyondAFullSocketBufferAreQueuedAndDeliveredWhole) {
  Pair();
  const std::string big = Pattern(16 << 20);
  client->Send(big);
  // The far side reads nothing yet: the socket buffers fill and the rest waits.
  Idle(100);
  Ear ear;
  ear.Attach(*server);
  ASSERT_TRUE(PumpMessagesUntil([&] { return ear.got.size() >= big.size(); }, kDeadlineMs));
  EXPECT_TRUE(ear.got == big);
}

TEST_F(WinNetTest, ManySmallSendsArriveInOrderBothWays) {
  Pair();
  Ear server_ear, client_ear;
  server_ear.Attach(*server);
  client_ear.Attach(*client);
  std::string expected;
  for (int round = 0; round < 20; ++round) {
    for (int i = 0; i < 2000; ++i) {
      const std::string message = std::to_string(round * 2000 + i) + ";";
      client->Send(message);
      server->Send(message);
      expected += message;
    }
    PumpMessagesUntil([] { return false; }, 0);  // what is waiting, no more
  }
  ASSERT_TRUE(PumpMessagesUntil(
      [&] {
        return server_ear.got.size() >= expected.size() &&
               client_ear.got.size() >= expected.size();
      },
      kDeadlineMs));
  EXPECT_TRUE(server_ear.got == expected);
  EXPECT_TRUE(client_ear.got == expected);
}

TEST_F(WinNetTest, CloseStillSendsWhatIsQueuedThenThePeerHearsTheClose) {
  Pair();
  Ear ear, closer_ear;
  ear.Attach(*server);
  closer_ear.Attach(*client);
  const std::string big = Pattern(8 << 20);
  client->Send(big);
  client.reset();
  ASSERT_TRUE(PumpMessagesUntil([&] { return ear.closes > 0; }, kDeadlineMs));
  EXPECT_TRUE(ear.got == big);
  EXPECT_EQ(ear.closes, 1);
  EXPECT_EQ(closer_ear.closes, 0);
  EXPECT_FALSE(server->IsOpen());
}

TEST_F(WinNetTest, TheAcceptingSideMayCloseToo) {
  Pair();
  Ear ear, closer_ear;
  ear.Attach(*client);
  closer_ear.Attach(*server);
  server->Send("bye");
  server->Close();
  EXPECT_FALSE(server->IsOpen());
  server->Send("ignored after close");
  ASSERT_TRUE(PumpMessagesUntil([&] { return ear.closes > 0; }, kDeadlineMs));
  Idle(50);
  EXPECT_EQ(ear.got, "bye");
  EXPECT_EQ(ear.closes, 1);
  EXPECT_EQ(closer_ear.closes, 0);
}

TEST_F(WinNetTest, BytesSentWhileConnectingWaitForTheConnection) {
  Ear ear;
  auto s = net.Connect("127.0.0.1", listener->Port(), [](bool) {});
  s->Send("queued before");
  s->Send(" the connect");
  ASSERT_TRUE(PumpMessagesUntil([&] { return !accepted.empty(); }, kDeadlineMs));
  ear.Attach(*accepted[0]);
  ASSERT_TRUE(PumpMessagesUntil([&] { return ear.got.size() >= 25; }, kDeadlineMs));
  EXPECT_EQ(ear.got, "queued before the connect");
}

TEST_F(WinNetTest, CallbackMayDestroyItsOwnAndAnotherConnection) {
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
  ASSERT_TRUE(PumpMessagesUntil([&] { return calls > 0; }, kDeadlineMs));
  Idle(50);
  EXPECT_EQ(calls, 1);
}

TEST_F(WinNetTest, CloseHandlerMayDestroyTheConnectionAndTheListener) {
  Pair();
  int closes = 0;
  server->SetHandlers([](std::string_view) {},
                      [&] {
                        ++closes;
                        accepted.clear();
                        listener.reset();
                      });
  client.reset();
  ASSERT_TRUE(PumpMessagesUntil([&] { return closes > 0; }, kDeadlineMs));
  Idle(50);
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(accepted.empty());
}

TEST_F(WinNetTest, AcceptHandlerMayStopListening) {
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
  ASSERT_TRUE(PumpMessagesUntil([&] { return accepts > 0; }, kDeadlineMs));
  auto b = net.Connect("127.0.0.1", port, [this](bool ok) { outcomes.push_back(ok); });
  ASSERT_TRUE(PumpMessagesUntil([&] { return !outcomes.empty(); }, kDeadlineMs));
  EXPECT_EQ(outcomes, std::vector<bool>{false});
  EXPECT_EQ(accepts, 1);
}

}  // namespace
}  // namespace tellu
