// Payload fields and builders: round trips through the parsers, the frame
// limit, and wire text at the terminal's edge.
#include <gtest/gtest.h>

#include "frame.h"
#include "wire.h"
#include "wire_text.h"

namespace tellu::chatsim {
namespace {

const char kA[] = "\xe3\x81\x82";  // あ, three wire bytes

TEST(Wire, LoginCarriesTheNameAsItsThirdString) {
  const std::string login = BuildLogin("ver", "pw", "Alice");
  EXPECT_EQ(login.substr(0, 3), "\x01\x06\x03");
  const ClientMessage m = ParseFromClient(login);
  EXPECT_EQ(m.kind, ClientKind::kLogin);
  EXPECT_EQ(m.name, "Alice");
}

TEST(Wire, ClientMessagesRoundTrip) {
  const Pos p{-1, 300, 0x21, -179};
  EXPECT_EQ(BuildSay("hi"), std::string("\x01\x0e\x00\x00\x02hi", 7));
  const ClientMessage w = ParseFromClient(BuildWhisper("Bob", "Alice", "psst"));
  EXPECT_EQ(w.kind, ClientKind::kWhisper);
  EXPECT_EQ(w.name, "Bob");
  EXPECT_EQ(w.speaker, "Alice");
  EXPECT_EQ(w.text, "psst");
  const ClientMessage r = ParseFromClient(BuildAvatarRequest("Bob"));
  EXPECT_EQ(r.kind, ClientKind::kAvatarRequest);
  EXPECT_EQ(r.name, "Bob");
  const ClientMessage e = ParseFromClient(BuildOwnRoomEntry(9, p));
  EXPECT_EQ(e.kind, ClientKind::kRoomEntry);
  EXPECT_EQ(e.room, 9);
  EXPECT_EQ(e.pos, p);
  const ClientMessage rp = ParseFromClient(BuildOwnRoomPosition(4, "\x02\x02", p));
  EXPECT_EQ(rp.kind, ClientKind::kRoomPosition);
  EXPECT_EQ(rp.opaque, "\x02\x02");
  EXPECT_EQ(rp.pos, p);
  EXPECT_EQ(ParseFromClient(BuildOwnMove(p)).pos, p);
  EXPECT_EQ(ParseFromClient(BuildOwnAvatar("a\\b.mov")).avatar, "a\\b.mov");
}

TEST(Wire, PositionsAreBigEndianSigned) {
  EXPECT_EQ(BuildOwnMove({1, -1, 0x1234, -32768}),
            std::string("\x01\x01\x00\x01\xff\xff\x12\x34\x80\x00", 10));
}

TEST(Wire, MessagesCutInTheirFixedFieldsAreNotActedOn) {
  const std::string move = BuildOwnMove({1, 2, 3, 4});
  EXPECT_EQ(ParseFromClient(move.substr(0, 9)).kind, ClientKind::kOther);
  const std::string entry = BuildOwnRoomEntry(1, {});
  EXPECT_EQ(ParseFromClient(entry.substr(0, 5)).kind, ClientKind::kOther);
  EXPECT_EQ(ParseFromClient(std::string("\x00\x03" "Bob\x0a", 6)).kind, ClientKind::kOther);
}

TEST(Wire, ServerMessagesRoundTrip) {
  const Pos p{5, 6, 7, 8};
  const ServerMessage naming = ParseFromServer(BuildNaming("Bob", 4));
  EXPECT_EQ(naming.kind, ServerKind::kNaming);
  EXPECT_EQ(naming.name, "Bob");
  EXPECT_EQ(naming.number, 4);
  const ServerMessage batch = ParseFromServer(BuildPositions({{2, 1, {}, p}, {3, 9, {}, {}}}));
  ASSERT_EQ(batch.records.size(), 2u);
  EXPECT_EQ(batch.records[0].pos, p);
  EXPECT_EQ(batch.records[1].room, 9);
  const ServerMessage rp = ParseFromServer(BuildRoomPosition({7, 2, std::string("\x00\x01", 2), p}));
  ASSERT_EQ(rp.records.size(), 1u);
  EXPECT_EQ(rp.records[0].opaque, std::string("\x00\x01", 2));
  const ServerMessage avatar = ParseFromServer(BuildNamedAvatar("Bob", "x.mov"));
  EXPECT_EQ(avatar.kind, ServerKind::kAvatar);
  EXPECT_EQ(avatar.avatar, "x.mov");
  EXPECT_EQ(ParseFromServer(BuildRelease({3, 5})).numbers, (std::vector<uint8_t>{3, 5}));
  EXPECT_EQ(ParseFromServer(BuildMove(3, p)).pos, p);
}

TEST(Wire, TrailingTextIsCutToFitAFrameAtACharacterBoundary) {
  std::string text;
  for (int i = 0; i < 100; ++i) text += kA;
  for (const std::string& speaker : {std::string(), std::string(100, 's'), std::string(249, 's')}) {
    const std::string chat = BuildChat(speaker, text);
    ASSERT_FALSE(chat.empty()) << speaker.size();
    EXPECT_LE(chat.size(), kMaxPayload);
    const ServerMessage m = ParseFromServer(chat);
    EXPECT_EQ(m.name, speaker);
    EXPECT_EQ(m.text.size() % 3, 0u);
    EXPECT_EQ(text.compare(0, m.text.size(), m.text), 0);
  }
}

TEST(Wire, MessagesThatCannotFitComeBackEmpty) {
  EXPECT_EQ(BuildNamedAvatar(std::string(200, 'n'), std::string(100, 'r')), "");
  EXPECT_EQ(BuildNaming(std::string(255, 'n'), 2), "");
  EXPECT_EQ(BuildLogin("", "", std::string(250, 'n')), "");
  EXPECT_EQ(BuildChat(std::string(252, 's'), "t"), "");
}

TEST(WireText, TypedTextBecomesSixteenBitWireText) {
  EXPECT_EQ(Utf8ToWire("abc"), "abc");
  EXPECT_EQ(Utf8ToWire(kA), kA);
  EXPECT_EQ(Utf8ToWire(std::string("a\0b", 3)), "a\xc0\x80" "b");
  EXPECT_EQ(Utf8ToWire("\xf0\x9f\x98\x80!"), "\xe3\x83\xbb!");  // an emoji
  EXPECT_EQ(Utf8ToWire("\xff"), "\xe3\x83\xbb");
}

TEST(WireText, DisplayEndsAtNulAndDisarmsControls) {
  EXPECT_EQ(WireToDisplay("ab\xc0\x80" "cd"), "ab");
  EXPECT_EQ(WireToDisplay(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(WireToDisplay("\x1b[2J\x07ok"), "?[2J?ok");
  EXPECT_EQ(WireToDisplay("\xc2\x9b" "x"), "?x");  // C1 control
  EXPECT_EQ(WireToDisplay(std::string(kA) + "\x80"), std::string(kA) + "?");
  EXPECT_EQ(WireToDisplay("\xe3\x81"), "??");  // cut short
}

TEST(WireText, CutNeverSplitsACharacter) {
  const std::string s = std::string("a") + kA + kA;
  EXPECT_EQ(CutText(s, 3), "a");
  EXPECT_EQ(CutText(s, 4), std::string("a") + kA);
  EXPECT_EQ(CutText(s, 100), s);
}

}  // namespace
}  // namespace tellu::chatsim
