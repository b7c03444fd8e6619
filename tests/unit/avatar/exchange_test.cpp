// Two users' programs exchanging an avatar through the fake network: the
// whispers carried by hand between their chat cores, the transfer connection
// bridged between their fake networks in pieces of varying size.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "avatar/address.h"
#include "text/sjis.h"
#include "unit/avatar/avatar_world.h"

namespace tellu::avatar_test {
namespace {

const std::string kOwnerFile = "C:\\host\\avatar\\bob.mov";

std::string Data(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 31 + 11) & 0xFF);
  return s;
}

// Carries bytes both ways between two far ends until nothing moves, each
// batch in pieces whose sizes follow `seed`; a close on one side reaches the
// other after the bytes sent before it.
void Bridge(FakeNet::Peer* a, FakeNet::Peer* b, uint32_t seed) {
  auto pieces = [&seed](FakeNet::Peer* from, FakeNet::Peer* to) {
    std::string bytes = from->TakeSent();
    for (size_t at = 0; at < bytes.size();) {
      seed = seed * 1103515245u + 12345u;
      size_t n = 1 + (seed >> 16) % 700;
      to->Feed(bytes.substr(at, n));
      at += n;
    }
    return !bytes.empty();
  };
  for (int round = 0; round < 10000; ++round) {
    bool moved = pieces(a, b);
    moved = pieces(b, a) || moved;
    if (a->closed_by_program() && a->sent().empty() && b->open()) {
      b->Close();
      moved = true;
    }
    if (b->closed_by_program() && b->sent().empty() && a->open()) {
      a->Close();
      moved = true;
    }
    if (!moved) return;
  }
  FAIL() << "the two sides never settled";
}

bool AnyTemporaryFile(FakeFiles& files) {
  for (const auto& [path, bytes] : files.contents())
    if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".tmp") == 0) return true;
  return false;
}

// The two room position records of the avatar refresh for object n.
bool Refreshed(const World& w, int n) {
  int seen = 0;
  for (const std::string& p : w.relay.to_host) {
    if (p.size() < 7 || p.compare(0, 2, "\xFE\x12") != 0 || p[2] != n) continue;
    const std::string opaque = p.substr(5, 2);
    if (seen == 0 && opaque == std::string("\x01\x00", 2)) seen = 1;
    else if (seen == 1 && opaque == std::string("\x00\x01", 2)) seen = 2;
  }
  return seen == 2;
}

class ExchangeTest : public ::testing::Test {
 protected:
  ExchangeTest() {
    bob.core.state().current_avatar = "avatar\\bob.mov";
    bob.files.Put(kOwnerFile, data);
    alice.Person(2, "bob", "avatar\\bob.mov", 1);
    alice.Person(3, "cat", "avatar\\cat.mov", 1);
    alice.files.Put(kOwnerFile, "the old copy");
  }

  // Alice asks, Bob's program asks Bob, Bob says yes.
  void RequestAndAccept() {
    alice.exchange.RequestAvatar("bob");
    ASSERT_EQ(alice.Whispers().size(), 1u);
    EXPECT_EQ(bob.Whispered("alice", alice.Whispers()[0].text), Verdict::kSwallow);
    ASSERT_EQ(bob.ui.questions.size(), 1u);
    bob.ui.Answer(true);
  }

  void ExpectDelivered() {
    EXPECT_EQ(alice.files.Get(kOwnerFile), data);
    EXPECT_FALSE(AnyTemporaryFile(alice.files));
    EXPECT_FALSE(AnyTemporaryFile(bob.files));
    EXPECT_TRUE(Refreshed(alice, 2));
    EXPECT_FALSE(Refreshed(alice, 3));
    alice.timers.Advance(0);
    bob.timers.Advance(0);
    EXPECT_EQ(alice.exchange.live(), 0u);
    EXPECT_EQ(bob.exchange.live(), 0u);
    for (const auto& p : alice.ui.progress) EXPECT_FALSE(p->open);
    for (const auto& p : bob.ui.progress) EXPECT_FALSE(p->open);
  }

  const std::string data = Data(2345);
  World alice{"alice", "198.51.100.20"};
  World bob{"bob", "203.0.113.10"};
};

TEST_F(ExchangeTest, AnOwnerOnAPublicAddressOffersAndTheRequesterFetches) {
  for (uint32_t seed : {1u, 7u, 42u}) {
    World a{"alice", "198.51.100.20"};
    World b{"bob", "203.0.113.10"};
    b.core.state().current_avatar = "avatar\\bob.mov";
    b.files.Put(kOwnerFile, data);
    a.Person(2, "bob", "avatar\\bob.mov", 1);
    b.ListenForPeers();
    a.exchange.RequestAvatar("bob");
    b.Whispered("alice", a.Whispers().at(0).text);
    b.ui.Answer(true);
    ASSERT_EQ(b.Whispers().size(), 1u);
    EXPECT_EQ(a.Whispered("bob", b.Whispers()[0].text), Verdict::kSwallow);
    FakeNet::Peer* out = a.net.LastConnect();
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->host(), b.address);
    FakeNet::Peer* in = b.net.Accept(World::kPort, a.address);
    out->Complete(a.address);
    Bridge(out, in, seed);
    EXPECT_EQ(a.files.Get(kOwnerFile), data) << seed;
    EXPECT_FALSE(AnyTemporaryFile(a.files));
    EXPECT_TRUE(Refreshed(a, 2));
    b.timers.Advance(0);
    EXPECT_EQ(b.exchange.live(), 0u);
  }
}

TEST_F(ExchangeTest, OfferPathEndsWithEverythingReleased) {
  bob.ListenForPeers();
  RequestAndAccept();
  alice.Whispered("bob", bob.Whispers().at(0).text);
  FakeNet::Peer* out = alice.net.LastConnect();
  FakeNet::Peer* in = bob.net.Accept(World::kPort, alice.address);
  out->Complete(alice.address);
  Bridge(out, in, 5);
  ExpectDelivered();
  EXPECT_EQ(alice.ui.progress.at(0)->title, "Tellu Receiving");
  EXPECT_EQ(bob.ui.progress.at(0)->title, "Tellu Sending");
}

TEST_F(ExchangeTest, AnOwnerBehindAPrivateNetworkPushesToTheRequester) {
  bob.address = "192.168.0.5";
  alice.ListenForPeers();
  RequestAndAccept();
  EXPECT_TRUE(bob.Whispers().empty());  // no offer: Bob connects himself
  FakeNet::Peer* out = bob.net.LastConnect();
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(out->host(), alice.address);
  FakeNet::Peer* in = alice.net.Accept(World::kPort, "198.51.100.99");
  out->Complete(bob.address);
  Bridge(out, in, 9);
  ExpectDelivered();
  EXPECT_EQ(alice.ui.progress.at(0)->title, "Tellu Receiving");
}

TEST_F(ExchangeTest, SeveralTransfersAtOnce) {
  bob.ListenForPeers();
  World carol{"carol", "198.51.100.30"};
  carol.files.Put(kOwnerFile, "");
  std::vector<FakeNet::Peer*> outs, ins;
  for (World* requester : {&alice, &carol}) {
    requester->exchange.RequestAvatar("bob");
    bob.Whispered(requester->core.state().own_name, requester->Whispers().back().text);
  }
  bob.ui.Answer(true);
  bob.ui.Answer(true);
  ASSERT_EQ(bob.Whispers().size(), 2u);
  int i = 0;
  for (World* requester : {&alice, &carol}) {
    requester->Whispered("bob", bob.Whispers()[i++].text);
    outs.push_back(requester->net.LastConnect());
    ins.push_back(bob.net.Accept(World::kPort, requester->address));
    outs.back()->Complete(requester->address);
  }
  // Both go a few chunks, interleaved, then each finishes.
  for (int step = 0; step < 3; ++step)
    for (size_t k = 0; k < 2; ++k) {
      ins[k]->Feed(outs[k]->TakeSent());
      outs[k]->Feed(ins[k]->TakeSent());
    }
  EXPECT_EQ(bob.exchange.live(), 2u);
  Bridge(outs[0], ins[0], 3);
  Bridge(outs[1], ins[1], 4);
  EXPECT_EQ(alice.files.Get(kOwnerFile), data);
  EXPECT_EQ(carol.files.Get(kOwnerFile), data);
}

// ----- a peer that follows the protocol to the byte, scripted by hand -----

const std::string kPrefix = text::Utf8ToSjis("\xE3\x81\x82\xE3\x81\xAE\xE3\x81\x89,");  // あのぉ,
const std::string kRequest =
    kPrefix + text::Utf8ToSjis("\xE3\x82\xA2\xE3\x83\x90\xE9\xA0\x82\xE6\x88\xB4");  // アバ頂戴
const std::string kBobRef = "avatar\\bob.mov";

struct Refused {
  Refusal what;
  std::string name, reference;
  bool operator==(const Refused&) const = default;
};

class ScriptedPeer : public ::testing::Test {
 protected:
  ScriptedPeer() {
    me.ListenForPeers();
    me.exchange.SetRefusedReport([this](Refusal what, const std::string& name,
                                        const std::string& reference) {
      refused.push_back({what, name, reference});
    });
  }
  // bob connects to this side's port; the greeting is checked and taken.
  FakeNet::Peer* BobConnects() {
    FakeNet::Peer* in = me.net.Accept(World::kPort, "203.0.113.10");
    EXPECT_EQ(in->TakeSent(), "ok\n");
    return in;
  }
  // bob sends the 600 bytes in its two chunks, each after this side's "@".
  void BobSendsTheFile(FakeNet::Peer* p, std::string head) {
    p->Feed(head + "00000258" "0200" + data.substr(0, 512));
    EXPECT_EQ(p->TakeSent(), "@\n");
    p->Feed("0058" + data.substr(512));
    EXPECT_EQ(p->TakeSent(), "@\n");
    EXPECT_EQ(me.files.Get(kOwnerFile), data);
  }
  bool NothingHappened(FakeNet::Peer* p) {
    return p->closed_by_program() && p->sent().empty() && !me.files.Exists(kOwnerFile) &&
           me.ui.progress.empty() && me.ui.notices.empty() && me.SystemLines().empty();
  }

  const std::string data = Data(600);
  World me{"alice", "198.51.100.20"};
  std::vector<Refused> refused;
};

TEST_F(ScriptedPeer, OnlyAFileThisSideAskedForIsTaken) {
  // request, Yes, offer, get
  me.exchange.RequestAvatar("bob");
  EXPECT_EQ(me.Whispers().back().text, kRequest + EncodeAddress(me.address));
  EXPECT_EQ(me.Whispered("bob", kPrefix + "AVA," + kBobRef + "," + EncodeAddress("203.0.113.10")),
            Verdict::kSwallow);
  FakeNet::Peer* out = me.net.LastConnect();
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(out->host(), "203.0.113.10");
  out->Complete(me.address);
  out->Feed("ok\n");
  EXPECT_EQ(out->TakeSent(), "getava,alice," + kBobRef + "\n");
  BobSendsTheFile(out, "");
  EXPECT_TRUE(out->closed_by_program());
  // The file came: the request is answered, a second offer is nobody's.
  me.files.Delete(kOwnerFile);
  me.Whispered("bob", kPrefix + "AVA," + kBobRef + "," + EncodeAddress("203.0.113.10"));
  EXPECT_EQ(me.net.connects().size(), 1u);
  EXPECT_EQ(refused, (std::vector<Refused>{{Refusal::kOffer, "bob", kBobRef}}));

  // request, Yes, push with put
  refused.clear();
  me.ui.progress.clear();
  me.exchange.RequestAvatar("bob");
  FakeNet::Peer* in = BobConnects();
  BobSendsTheFile(in, "putava,bob," + kBobRef + "\n");
  in->Close();
  EXPECT_TRUE(refused.empty());
  me.files.Delete(kOwnerFile);
  me.ui.progress.clear();
  in = BobConnects();
  in->Feed("putava,bob," + kBobRef + "\n" "00000258" "0200" + data.substr(0, 512));
  EXPECT_TRUE(NothingHappened(in));
  EXPECT_EQ(refused, (std::vector<Refused>{{Refusal::kPush, "bob", kBobRef}}));
}

TEST_F(ScriptedPeer, StrangersAndStaleRequestsAreClosedAtOnce) {
  me.files.Put("C:\\host\\avatar\\mine.mov", "my avatar");
  me.core.state().current_avatar = "avatar\\mine.mov";
  // Nobody asked: an offer, a push and a fetch.
  me.Whispered("eve", kPrefix + "AVA," + kBobRef + "," + EncodeAddress("203.0.113.66"));
  EXPECT_TRUE(me.net.connects().empty());
  FakeNet::Peer* in = BobConnects();
  in->Feed("putava,eve," + kBobRef + "\n" "00000003" "0003abc");
  EXPECT_TRUE(NothingHappened(in));
  in = BobConnects();
  in->Feed("getava,eve,avatar\\mine.mov\n");
  EXPECT_TRUE(NothingHappened(in));
  EXPECT_EQ(refused, (std::vector<Refused>{{Refusal::kOffer, "eve", kBobRef},
                                           {Refusal::kPush, "eve", kBobRef},
                                           {Refusal::kFetch, "eve", "avatar\\mine.mov"}}));

  // An offer to bob is fetched by bob only, and only that file.
  me.Whispered("bob", kRequest + EncodeAddress("203.0.113.10"));
  me.ui.Answer(true);
  ASSERT_EQ(me.Whispers().back().text,
            kPrefix + "AVA,avatar\\mine.mov," + EncodeAddress(me.address));
  for (const char* line : {"getava,eve,avatar\\mine.mov\n", "getava,bob,avatar\\other.mov\n"}) {
    in = BobConnects();
    in->Feed(line);
    EXPECT_TRUE(in->closed_by_program() && in->sent().empty()) << line;
  }
  EXPECT_TRUE(me.ui.progress.empty());
  in = BobConnects();
  in->Feed("getava,bob,avatar\\mine.mov\n");
  EXPECT_EQ(in->TakeSent(), "00000009" "0009my avatar");

  // Fifteen minutes on, the request and the offer are void.
  me.exchange.RequestAvatar("cat");
  me.timers.Advance(RequestList::kLifetimeMs - 1);
  EXPECT_TRUE(me.exchange.requests().HasRequested("cat"));
  me.timers.Advance(1);
  refused.clear();
  me.Whispered("cat", kPrefix + "AVA," + kBobRef + "," + EncodeAddress("203.0.113.67"));
  in = BobConnects();
  in->Feed("getava,bob,avatar\\mine.mov\n");
  EXPECT_TRUE(in->closed_by_program() && in->sent().empty());
  EXPECT_EQ(refused, (std::vector<Refused>{{Refusal::kOffer, "cat", kBobRef},
                                           {Refusal::kFetch, "bob", "avatar\\mine.mov"}}));
  EXPECT_EQ(me.exchange.requests().size(), 0u);
}

TEST(AvatarRequestList, KeepsAFewDozenAndAskingAgainStartsTheTimeAgain) {
  FakeTimers timers;
  RequestList list(timers);
  for (std::size_t i = 0; i <= RequestList::kMaxEntries; ++i) list.Requested("p" + std::to_string(i));
  EXPECT_EQ(list.size(), RequestList::kMaxEntries);
  EXPECT_FALSE(list.HasRequested("p0"));  // the oldest made room
  EXPECT_TRUE(list.HasRequested("p1"));
  timers.Advance(RequestList::kLifetimeMs / 2);
  list.Requested("p1");
  list.Offered("p1", "a.mov");
  EXPECT_FALSE(list.HasOffered("p1", "b.mov"));
  EXPECT_FALSE(list.HasOffered("p2", "a.mov"));
  timers.Advance(RequestList::kLifetimeMs / 2);
  EXPECT_TRUE(list.HasRequested("p1"));
  EXPECT_FALSE(list.HasRequested("p2"));
  EXPECT_TRUE(list.HasOffered("p1", "a.mov"));
  list.Consume("p1");
  EXPECT_FALSE(list.HasRequested("p1"));
  EXPECT_TRUE(list.HasOffered("p1", "a.mov"));  // an offer may be fetched again
}

TEST(AvatarExchange, ShuttingDownWithTransfersUnderwayLeavesNoTemporaryFile) {
  World w{"alice"};
  auto exchange = std::make_unique<AvatarExchange>(
      w.core,
      AvatarExchange::RelayAccess{w.relay, [] { return std::string("198.51.100.20"); },
                                  [] { return World::kPort; }},
      w.settings, AvatarExchange::Ports{w.net, w.files, w.timers, w.ui});
  exchange->SetHostPlaces({World::kDir, "bar"});
  exchange->StartTransfer({"bob", "203.0.113.10", "avatar\\bob.mov", TransferDirection::kGet});
  FakeNet::Peer* out = w.net.LastConnect();
  out->Complete();
  out->Feed("ok\n00000400" "0200" + Data(512));
  ASSERT_TRUE(AnyTemporaryFile(w.files));
  ASSERT_EQ(exchange->live(), 1u);
  exchange.reset();
  EXPECT_FALSE(AnyTemporaryFile(w.files));
  EXPECT_FALSE(out->held());
  EXPECT_FALSE(w.ui.progress.back()->open);
}

}  // namespace
}  // namespace tellu::avatar_test
