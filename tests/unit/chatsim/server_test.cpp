// The server's routing, seen by clients on real loopback sockets.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "server.h"
#include "test_client.h"

namespace tellu::chatsim {
namespace {

class ServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ServerOptions o;
    o.port = 0;
    server_ = std::make_unique<ChatServer>(o);
    std::string error;
    ASSERT_TRUE(server_->Open(&error)) << error;
    server_->Start();
  }
  void TearDown() override { server_->Stop(); }

  // A logged-in client that has seen everyone named in `others` arrive.
  std::unique_ptr<TestClient> Join(std::string_view name, std::vector<std::string> others = {}) {
    auto c = std::make_unique<TestClient>(server_->port());
    EXPECT_TRUE(c->connected());
    c->Login(name);
    for (const std::string& o : others) EXPECT_TRUE(c->WaitFor(IsNaming(o))) << name << " sees " << o;
    return c;
  }

  std::unique_ptr<ChatServer> server_;
};

auto HasRecordFor(uint8_t number) {
  return [number](const ServerMessage& m) {
    return m.kind == ServerKind::kPositions &&
           std::any_of(m.records.begin(), m.records.end(),
                       [&](const Record& r) { return r.number == number; });
  };
}

TEST_F(ServerTest, LoginNamesAndPlacesTheNewcomerForOthersAndTheOthersForIt) {
  auto alice = Join("Alice");
  auto bob = Join("Bob");

  auto bob_in_alice = alice->WaitFor(IsNaming("Bob"));
  ASSERT_TRUE(bob_in_alice);
  EXPECT_GE(bob_in_alice->number, 2);
  EXPECT_LE(bob_in_alice->number, 11);
  auto placed = alice->WaitFor(HasRecordFor(bob_in_alice->number));
  ASSERT_TRUE(placed);
  EXPECT_EQ(placed->records[0].room, kLobby);

  auto alice_in_bob = bob->WaitFor(IsNaming("Alice"));
  ASSERT_TRUE(alice_in_bob);
  EXPECT_TRUE(bob->WaitFor(HasRecordFor(alice_in_bob->number)));
}

TEST_F(ServerTest, DifferentPeopleGetDifferentNumbersInOneView) {
  auto alice = Join("Alice");
  auto bob = Join("Bob");
  auto carol = Join("Carol");
  auto b = alice->WaitFor(IsNaming("Bob"));
  auto c = alice->WaitFor(IsNaming("Carol"));
  ASSERT_TRUE(b && c);
  EXPECT_NE(b->number, c->number);
}

TEST_F(ServerTest, PositionsArePassedOnWithTheirMarks) {
  auto alice = Join("Alice");
  auto bob = Join("Bob", {"Alice"});
  auto n = alice->WaitFor(IsNaming("Bob"));
  ASSERT_TRUE(n);
  // Low four bits of z and dir carry marks other clients read.
  const Pos entered{100, -200, 0x31, 0x15};
  bob->Send(BuildOwnRoomEntry(kLobby, entered));
  auto batch = alice->WaitFor([&](const ServerMessage& m) {
    return HasRecordFor(n->number)(m) && m.records[0].pos == entered;
  });
  EXPECT_TRUE(batch);

  const Pos moved{-32768, 32767, 0x24, -0x7B};
  bob->Send(BuildOwnMove(moved));
  auto move = alice->WaitFor([](const ServerMessage& m) { return m.kind == ServerKind::kMove; });
  ASSERT_TRUE(move);
  EXPECT_EQ(move->number, n->number);
  EXPECT_EQ(move->pos, moved);

  const Pos stood{7, 8, 0x11, 0x13};
  bob->Send(BuildOwnRoomPosition(kLobby, std::string("\x01\x00", 2), stood));
  auto rp = alice->WaitFor([](const ServerMessage& m) { return m.kind == ServerKind::kRoomPositions; });
  ASSERT_TRUE(rp);
  ASSERT_EQ(rp->records.size(), 1u);
  EXPECT_EQ(rp->records[0].number, n->number);
  EXPECT_EQ(rp->records[0].opaque, std::string("\x01\x00", 2));
  EXPECT_EQ(rp->records[0].pos, stood);
}

TEST_F(ServerTest, OwnRoomEntryNamesEveryoneInTheRoomAgain) {
  auto alice = Join("Alice");
  auto bob = Join("Bob", {"Alice"});
  bob->Send(BuildOwnRoomEntry(kLobby, {}));
  EXPECT_TRUE(bob->WaitFor(IsNaming("Alice")));
}

TEST_F(ServerTest, SayGoesToEveryoneInTheRoomWithTheSenderAsSpeaker) {
  auto alice = Join("Alice");
  auto bob = Join("Bob", {"Alice"});
  auto carol = Join("Carol", {"Alice", "Bob"});
  carol->Send(BuildOwnRoomEntry(7, {}));
  ASSERT_TRUE(alice->WaitFor([](const ServerMessage& m) { return m.kind == ServerKind::kRelease; }));

  alice->Send(BuildSay("hello"));
  EXPECT_TRUE(alice->WaitFor(IsChat("Alice", "hello")));
  EXPECT_TRUE(bob->WaitFor(IsChat("Alice", "hello")));

  // Bob has it, so it was routed before Carol's own line: had it reached
  // Carol, it would come before that line.
  carol->Send(BuildSay("marker"));
  ASSERT_TRUE(carol->WaitFor(IsChat("Carol", "marker")));
  for (const ServerMessage& m : carol->skipped) EXPECT_NE(m.kind, ServerKind::kChat);
}

TEST_F(ServerTest, WhisperReachesOnlyTheNamedPerson) {
  auto alice = Join("Alice");
  auto bob = Join("Bob", {"Alice"});
  auto carol = Join("Carol", {"Alice", "Bob"});
  alice->Send(BuildWhisper("Bob", "Alice", "secret"));
  auto w = bob->WaitFor([](const ServerMessage& m) { return m.kind == ServerKind::kWhisper; });
  ASSERT_TRUE(w);
  EXPECT_EQ(w->name, "Alice");
  EXPECT_EQ(w->text, "secret");

  alice->Send(BuildSay("marker"));
  ASSERT_TRUE(carol->WaitFor(IsChat("Alice", "marker")));
  for (const ServerMessage& m : carol->skipped) EXPECT_NE(m.kind, ServerKind::kWhisper);
  ASSERT_TRUE(alice->WaitFor(IsChat("Alice", "marker")));
  for (const ServerMessage& m : alice->skipped) EXPECT_NE(m.kind, ServerKind::kWhisper);
}

TEST_F(ServerTest, WhisperWithoutSenderNameCarriesTheSendersLogin) {
  auto alice = Join("Alice");
  auto bob = Join("Bob", {"Alice"});
  alice->Send(BuildWhisper("Bob", "", "who am I"));
  auto w = bob->WaitFor([](const ServerMessage& m) { return m.kind == ServerKind::kWhisper; });
  ASSERT_TRUE(w);
  EXPECT_EQ(w->name, "Alice");
}

TEST_F(ServerTest, AvatarIsShownToOthersAndAnsweredOnRequest) {
  auto alice = Join("Alice");
  auto bob = Join("Bob", {"Alice"});
  const std::string ref = "avatar\\bob.mov";
  bob->Send(BuildOwnAvatar(ref));
  auto shown = alice->WaitFor([](const ServerMessage& m) { return m.kind == ServerKind::kAvatar; });
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->name, "Bob");
  EXPECT_EQ(shown->avatar, ref);

  auto carol = Join("Carol", {"Alice", "Bob"});
  carol->Send(BuildAvatarRequest("Bob"));
  // Carol was told Bob's avatar on arrival; the request brings it once more.
  int answers = 0;
  while (carol->WaitFor([](const ServerMessage& m) { return m.kind == ServerKind::kAvatar; })) {
    ++answers;
    if (answers == 2) break;
  }
  EXPECT_EQ(answers, 2);
}

TEST_F(ServerTest, LeavingReleasesTheNumberInEveryView) {
  auto alice = Join("Alice");
  auto bob = Join("Bob", {"Alice"});
  auto carol = Join("Carol", {"Alice", "Bob"});
  auto in_alice = alice->WaitFor(IsNaming("Bob"));
  ASSERT_TRUE(in_alice);
  bob->Close();
  auto released = alice->WaitFor([](const ServerMessage& m) { return m.kind == ServerKind::kRelease; });
  ASSERT_TRUE(released);
  EXPECT_EQ(released->numbers, std::vector<uint8_t>{in_alice->number});
  EXPECT_TRUE(carol->WaitFor([](const ServerMessage& m) { return m.kind == ServerKind::kRelease; }));
}

TEST_F(ServerTest, FirstMessageMustBeALogin) {
  TestClient stranger(server_->port());
  stranger.Send(BuildSay("hi"));
  EXPECT_TRUE(stranger.WaitClosed());
}

TEST_F(ServerTest, GarbageDoesNotHarmOtherClients) {
  auto alice = Join("Alice");
  TestClient noisy(server_->port());
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk.push_back(static_cast<char>((i * 7919 + 13) & 0xFF));
  noisy.SendRaw(junk);
  EXPECT_TRUE(noisy.WaitClosed());
  auto bob = Join("Bob", {"Alice"});
  EXPECT_TRUE(alice->WaitFor(IsNaming("Bob")));
}

TEST_F(ServerTest, LongNamesAndTextsStillFitAFrame) {
  const std::string long_name(200, 'n');
  auto alice = Join(long_name);
  // 250 bytes of three-byte characters do not fit after a 200-byte speaker.
  std::string text;
  while (text.size() + 3 <= 249) text += "\xe3\x81\x82";  // あ
  alice->Send(BuildSay(text));
  auto chat = alice->WaitFor([](const ServerMessage& m) { return m.kind == ServerKind::kChat; });
  ASSERT_TRUE(chat);
  EXPECT_EQ(chat->name, long_name);
  EXPECT_FALSE(chat->text.empty());
  EXPECT_EQ(chat->text.size() % 3, 0u);
  EXPECT_EQ(text.compare(0, chat->text.size(), chat->text), 0);
}

TEST(ServerBots, NewcomerSeesTheBotsAtOnce) {
  ServerOptions o;
  o.port = 0;
  o.bots = 3;
  o.bot_interval_ms = 3600000;  // they stay still for this test
  ChatServer server(o);
  std::string error;
  ASSERT_TRUE(server.Open(&error)) << error;
  server.Start();
  TestClient c(server.port());
  c.Login("Visitor");
  const Bots expected(3, o.seed);
  for (const Bot& b : expected.bots()) EXPECT_TRUE(c.WaitFor(IsNaming(b.name))) << b.name;
  server.Stop();
}

}  // namespace
}  // namespace tellu::chatsim
