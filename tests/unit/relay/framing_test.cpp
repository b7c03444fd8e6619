#include <string>

#include "relay_fixture.h"

namespace tellu {
namespace {

using Call = RecordingParser::Call;

TEST_F(RelayTest, LengthByteAloneThenPayloadIsOneMessage) {
  Start();
  host->Feed("\x04");
  EXPECT_TRUE(parser.calls.empty());
  host->Feed("abc");
  EXPECT_EQ(parser.calls, (std::vector<Call>{{Direction::kFromHost, "abc"}}));
  EXPECT_EQ(server->sent(), Framed("abc"));
}

TEST_F(RelayTest, EverySplitOfTheStreamGivesTheSameMessages) {
  const std::string stream = Framed("first") + Framed(std::string(254, 'x')) + Framed("z");
  const std::vector<Call> expected = {{Direction::kFromServer, "first"}, {Direction::kFromServer, std::string(254, 'x')}, {Direction::kFromServer, "z"}};
  for (size_t a = 0; a <= stream.size(); a += 7) {
    for (size_t b = a; b <= stream.size(); b += 13) {
      FakeNet net2;
      RecordingParser parser2;
      Relay relay2(net2);
      relay2.SetParser(&parser2);
      ASSERT_TRUE(relay2.Open(kPort));
      FakeNet::Peer* h = net2.Accept(kPort);
      FakeNet::Peer* s = net2.LastConnect();
      s->Complete();
      s->Feed(stream.substr(0, a));
      s->Feed(stream.substr(a, b - a));
      s->Feed(stream.substr(b));
      ASSERT_EQ(parser2.calls, expected) << "split at " << a << ", " << b;
      ASSERT_EQ(h->sent(), stream);
    }
  }
}

TEST_F(RelayTest, EachMessageIsParsedAndForwardedBeforeTheNext) {
  Start();
  std::vector<std::string> forwarded_before;
  parser.verdict = [&](Direction, std::string_view) {
    forwarded_before.push_back(host->sent());
    return Verdict::kPassOn;
  };
  server->Feed(Framed("one") + Framed("two") + Framed("three"));
  EXPECT_EQ(parser.calls, (std::vector<Call>{{Direction::kFromServer, "one"}, {Direction::kFromServer, "two"}, {Direction::kFromServer, "three"}}));
  EXPECT_EQ(forwarded_before,
            (std::vector<std::string>{"", Framed("one"), Framed("one") + Framed("two")}));
}

TEST_F(RelayTest, MessagesTheParserSendsGoBeforeTheOneItLetsThrough) {
  Start();
  parser.verdict = [&](Direction direction, std::string_view) {
    if (direction == Direction::kFromHost) relay.SendToServer("reply");
    if (direction == Direction::kFromServer) relay.SendToHost("echo");
    return Verdict::kPassOn;
  };
  host->Feed(Framed("login"));
  server->Feed(Framed("chat"));
  EXPECT_EQ(server->sent(), Framed("reply") + Framed("login"));
  EXPECT_EQ(host->sent(), Framed("echo") + Framed("chat"));
}

TEST_F(RelayTest, SwallowedMessagesAreCountedButNotForwarded) {
  Start();
  parser.verdict = [](Direction, std::string_view payload) {
    return payload == "keep" ? Verdict::kPassOn : Verdict::kSwallow;
  };
  host->Feed(Framed("drop") + Framed("keep"));
  parser.verdict = [](Direction, std::string_view) { return static_cast<Verdict>(2); };
  server->Feed(Framed("other"));
  EXPECT_EQ(server->sent(), Framed("keep"));
  EXPECT_EQ(host->sent(), "");
  EXPECT_EQ(relay.HostMessageCount(), 2u);
  EXPECT_EQ(relay.ServerMessageCount(), 1u);
}

TEST_F(RelayTest, LengthBytesZeroAndOneCarryNoPayload) {
  Start();
  server->Feed(std::string("\x00\x01", 2) + Framed("ab") + std::string("\x01\x00", 2) + Framed("c"));
  EXPECT_EQ(parser.calls, (std::vector<Call>{{Direction::kFromServer, "ab"}, {Direction::kFromServer, "c"}}));
  EXPECT_EQ(relay.ServerMessageCount(), 2u);
  EXPECT_EQ(host->sent(), Framed("ab") + Framed("c"));
}

TEST_F(RelayTest, LongestPayloadTravelsWithLengthByte255) {
  Start();
  const std::string payload(254, '\x81');
  relay.SendToServer(payload);
  relay.SendToHost(payload);
  ASSERT_EQ(server->sent().size(), 255u);
  EXPECT_EQ(static_cast<unsigned char>(server->sent()[0]), 255u);
  EXPECT_EQ(server->sent().substr(1), payload);
  EXPECT_EQ(host->sent(), server->sent());
}

TEST_F(RelayTest, PayloadsThatCannotBeFramedAreRefused) {
  Start();
  relay.SendToServer(std::string(255, 'a'));
  relay.SendToHost(std::string(255, 'a'));
  relay.SendToServer("");
  relay.SendToHost("");
  EXPECT_EQ(server->sent(), "");
  EXPECT_EQ(host->sent(), "");
}

TEST_F(RelayTest, SendsWithoutTargetAreDroppedSilently) {
  relay.SendToServer("lost");
  relay.SendToHost("lost");
  EXPECT_FALSE(relay.HasServer());
  host = net.Accept(kPort);
  relay.SendToServer("too early");  // the server connect is still under way
  net.LastConnect()->Complete();
  EXPECT_EQ(net.LastConnect()->sent(), "");
}

}  // namespace
}  // namespace tellu
