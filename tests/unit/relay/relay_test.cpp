#include <string>

#include "relay_fixture.h"

namespace tellu {
namespace {

using Call = RecordingParser::Call;

struct RecordingPeer : PeerObject {
  void OnReceive(std::string_view bytes) override { received += bytes; }
  void OnClose() override { ++closes; }
  std::string received;
  int closes = 0;
};

// Accept rules.

TEST_F(RelayTest, FirstConnectionIsTheHostAndOpensTheServerConnection) {
  server_port = 6000;
  Start();
  EXPECT_TRUE(relay.HasHost());
  EXPECT_EQ(server->host(), "chat.example.jp");
  EXPECT_EQ(server->port(), 6000);
  EXPECT_TRUE(relay.HasServer());
  EXPECT_EQ(relay.OwnAddress(), "192.0.2.44");
  EXPECT_EQ(relay.ServerPort(), 6000);
  EXPECT_EQ(host->sent(), "");
}

TEST_F(RelayTest, LaterConnectionIsAPeerGreetedAndNeverParsed) {
  Start();
  FakeNet::Peer* other = net.Accept(kPort, "198.51.100.9");
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(other->sent(), "ok\n");
  ASSERT_EQ(peers.size(), 1u);
  EXPECT_EQ(peers[0]->ConnectionKind(), SockKind::kPeerAccepted);
  RecordingPeer object;
  peers[0]->SetPeer(&object);
  other->Feed(Framed("getava,x"));
  EXPECT_EQ(object.received, Framed("getava,x"));
  EXPECT_TRUE(parser.calls.empty());
  EXPECT_EQ(server->sent(), "");
  EXPECT_EQ(net.connects().size(), 1u);
}

TEST_F(RelayTest, PeerWithoutTakerIsGreetedAndClosed) {
  relay.SetPeerAccept(nullptr);
  Start();
  FakeNet::Peer* other = net.Accept(kPort);
  EXPECT_EQ(other->sent(), "ok\n");
  EXPECT_TRUE(other->closed_by_program());
}

TEST_F(RelayTest, OnlyALoopbackConnectionBecomesTheHost) {
  FakeNet::Peer* stranger = net.Accept(kPort, "203.0.113.5");
  EXPECT_TRUE(stranger->closed_by_program());
  EXPECT_EQ(stranger->sent(), "");
  EXPECT_TRUE(net.connects().empty());
  EXPECT_FALSE(relay.HasHost());
  Start();
  EXPECT_TRUE(relay.HasServer());
}

TEST_F(RelayTest, TakenPortLeavesTheRelayDeaf) {
  Relay second(net);
  EXPECT_FALSE(second.Open(kPort));
  EXPECT_FALSE(second.IsListening());
  Start();  // the connection still goes to the first relay
  EXPECT_TRUE(relay.HasServer());
  EXPECT_FALSE(second.HasHost());
}

// The server connect.

TEST_F(RelayTest, HostBytesWaitUntilTheServerConnectionIsMade) {
  host = net.Accept(kPort);
  server = net.LastConnect();
  host->Feed(Framed("login") + "\x05" "ch");
  host->Feed(std::string("at") + Framed("more"));
  EXPECT_TRUE(parser.calls.empty());
  EXPECT_FALSE(relay.HasServer());
  // A connection arriving meanwhile is a peer, not a second host.
  net.Accept(kPort);
  EXPECT_EQ(peers.size(), 1u);
  server->Complete();
  EXPECT_EQ(parser.calls, (std::vector<Call>{{Direction::kFromHost, "login"}, {Direction::kFromHost, "chat"}, {Direction::kFromHost, "more"}}));
  EXPECT_EQ(server->sent(), Framed("login") + Framed("chat") + Framed("more"));
  host->Feed(Framed("next"));
  EXPECT_EQ(parser.calls.back(), (Call{Direction::kFromHost, "next"}));
}

TEST_F(RelayTest, FailedServerConnectStopsListening) {
  host = net.Accept(kPort);
  host->Feed(Framed("login"));
  net.LastConnect()->Fail();
  EXPECT_TRUE(host->closed_by_program());
  EXPECT_FALSE(relay.HasHost());
  EXPECT_FALSE(relay.HasServer());
  EXPECT_FALSE(relay.IsListening());
  EXPECT_EQ(net.Accept(kPort), nullptr);
  EXPECT_TRUE(parser.calls.empty());
  EXPECT_TRUE(notices.empty());
}

TEST_F(RelayTest, HostLeavingDuringTheConnectCancelsIt) {
  host = net.Accept(kPort);
  server = net.LastConnect();
  host->Close();
  EXPECT_TRUE(server->closed_by_program());
  server->Complete();  // too late: nobody hears of it
  EXPECT_FALSE(relay.HasServer());
  EXPECT_TRUE(relay.IsListening());
}

// Close rules.

TEST_F(RelayTest, HostClosedEndsTheServerConnectionAndLaterConnectionsArePeers) {
  Start();
  host->Close();
  EXPECT_TRUE(server->closed_by_program());
  EXPECT_FALSE(relay.HasServer());
  EXPECT_TRUE(relay.HasHost());
  EXPECT_TRUE(notices.empty());
  FakeNet::Peer* next = net.Accept(kPort);
  EXPECT_EQ(next->sent(), "ok\n");
  EXPECT_EQ(net.connects().size(), 1u);
}

TEST_F(RelayTest, ServerClosedEndsTheHostAndTellsTheLog) {
  Start();
  server->Close();
  EXPECT_TRUE(host->closed_by_program());
  EXPECT_FALSE(host->held());
  EXPECT_FALSE(relay.HasHost());
  EXPECT_FALSE(relay.HasServer());
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0], "\n\x83\x54\x81\x5B\x83\x6F\x81\x5B\x82\xC6\x82\xCC\x90\xDA\x91\xB1"
                        "\x82\xAA\x90\xD8\x82\xEA\x82\xDC\x82\xB5\x82\xBD\x81\x42");
}

TEST_F(RelayTest, AfterTheServerClosedTheNextHostStartsANewRelay) {
  Start();
  server->Feed(Framed("hello"));
  host->Feed(Framed("hi"));
  server->Feed("\x09part");  // cut off by the close
  server->Close();
  Start();
  EXPECT_EQ(net.connects().size(), 2u);
  server->Feed(Framed("again"));
  host->Feed(Framed("back"));
  EXPECT_EQ(host->sent(), Framed("again"));
  EXPECT_EQ(server->sent(), Framed("back"));
  EXPECT_EQ(relay.ServerMessageCount(), 2u);
  EXPECT_EQ(relay.HostMessageCount(), 2u);
}

TEST_F(RelayTest, ClosedHostTakesNothingMore) {
  Start();
  host->Close();
  relay.SendToHost("late");
  EXPECT_EQ(host->sent(), "");
}

// A parser that ends the relay in the middle of a chunk.

TEST_F(RelayTest, RelayEndedDuringParsingStopsTheChunk) {
  Start();
  parser.verdict = [&](Direction, std::string_view) {
    relay.Shutdown();
    return Verdict::kPassOn;
  };
  server->Feed(Framed("one") + Framed("two"));
  EXPECT_EQ(parser.calls.size(), 1u);
  EXPECT_EQ(host->sent(), "");
  EXPECT_TRUE(host->closed_by_program());
  EXPECT_FALSE(relay.IsListening());
}

// The seams of the avatar exchange.

TEST(RelaySockets, PeerObjectMayChangeWithTheKindAndDestroyTheConnection) {
  FakeNet net;
  std::unique_ptr<CServSock> sock;
  auto listener = net.Listen(5200, [&](std::unique_ptr<Stream> s) {
    sock = std::make_unique<CServSock>(std::move(s), nullptr);
  });
  FakeNet::Peer* far = net.Accept(5200);
  RecordingPeer first, second;
  sock->SetConnectionKind(SockKind::kPeerAccepted);
  sock->SetPeer(&first);
  far->Feed("getava,");
  sock->SetConnectionKind(SockKind::kPeerMovedOn);
  sock->SetPeer(&second);
  far->Feed("0200");
  EXPECT_EQ(first.received, "getava,");
  EXPECT_EQ(second.received, "0200");

  struct Destroyer : PeerObject {
    std::unique_ptr<CServSock>* owner;
    void OnReceive(std::string_view) override { owner->reset(); }
    void OnClose() override {}
  } destroyer;
  destroyer.owner = &sock;
  sock->SetPeer(&destroyer);
  far->Feed("x");
  EXPECT_EQ(sock, nullptr);
  EXPECT_TRUE(far->closed_by_program());
}

TEST(RelaySockets, TransferConnectionReportsConnectDataAndClose) {
  FakeNet net;
  RecordingPeer transfer;
  auto sock = std::make_unique<CCliantSock>(net, SockKind::kOutgoingTransfer, nullptr);
  sock->SetPeer(&transfer);
  std::vector<bool> outcomes;
  sock->Connect("198.51.100.20", 5200, [&](bool ok) { outcomes.push_back(ok); });
  FakeNet::Peer* far = net.LastConnect();
  EXPECT_EQ(far->host(), "198.51.100.20");
  sock->Send("dropped before the connection");
  far->Complete();
  sock->Send("getava,me,a.mov\n");
  far->Feed("ok\n");
  far->Close();
  EXPECT_EQ(outcomes, std::vector<bool>{true});
  EXPECT_EQ(far->sent(), "getava,me,a.mov\n");
  EXPECT_EQ(transfer.received, "ok\n");
  EXPECT_EQ(transfer.closes, 1);
}

}  // namespace
}  // namespace tellu
