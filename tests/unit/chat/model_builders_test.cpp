#include <gtest/gtest.h>

#include <vector>

#include "chat/wire.h"
#include "unit/chat/movement_recording_relay.h"

namespace tellu {
namespace {

const Position kPos{0x0102, -2, 0x0310, 90};
const std::string kPosBytes = Bytes("\x01\x02\xFF\xFE\x03\x10\x00\x5A");

// --- to the server -------------------------------------------------------

TEST(BuildSay, EmptyTextAndPlainText) {
  EXPECT_EQ(BuildSay(""), Bytes("\x01\x0E\x00\x00\x00"));
  EXPECT_EQ(BuildSay("hi"), Bytes("\x01\x0E\x00\x00\x02hi"));
}

TEST(BuildSay, YenSignGoesOutAsTwoBytes) {
  EXPECT_EQ(BuildSay("a\x5C"), Bytes("\x01\x0E\x00\x00\x03" "a\xC2\xA5"));
}

TEST(BuildSay, LongTextIsCutToFitOnePayload) {
  std::string payload = BuildSay(std::string(300, 'x'));
  ASSERT_EQ(payload.size(), kMaxPayload);
  EXPECT_EQ(static_cast<uint8_t>(payload[4]), kMaxPayload - 5);
}

TEST(BuildWhisper, Layout) {
  EXPECT_EQ(BuildWhisper("bob", "me", "hi"),
            Bytes("\x00\x03" "bob" "\x11\x00\x02" "me" "\x02" "hi"));
}

TEST(BuildWhisper, TextIsCutAfterTheNamesAndNamesNeverAre) {
  std::string payload = BuildWhisper("bob", "me", std::string(300, 'x'));
  EXPECT_EQ(payload.size(), kMaxPayload);
  EXPECT_EQ(payload.substr(0, 10), Bytes("\x00\x03" "bob" "\x11\x00\x02" "me"));
  // Names that leave no room for even an empty text: nothing to send.
  EXPECT_EQ(BuildWhisper(std::string(200, 'a'), std::string(60, 'b'), "hi"), "");
}

TEST(BuildOwnAvatar, RawReference) {
  EXPECT_EQ(BuildOwnAvatar("av\\b.mov"), Bytes("\x01\x03\x05\x08" "av\\b.mov"));
}

TEST(BuildOwnAvatar, ReferenceThatCannotFitGivesNothing) {
  EXPECT_EQ(BuildOwnAvatar(std::string(250, 'r')).size(), kMaxPayload);
  EXPECT_EQ(BuildOwnAvatar(std::string(251, 'r')), "");
}

TEST(BuildOwnRoomPosition, AlwaysCarriesTheFixedPair) {
  EXPECT_EQ(BuildOwnRoomPosition(7, kPos), Bytes("\x01\x12\x00\x07\x02\x02") + kPosBytes);
  EXPECT_EQ(BuildOwnRoomPosition(0x1FF, kPos)[3], '\xFF');
}

TEST(BuildOwnRoomEntry, Layout) {
  EXPECT_EQ(BuildOwnRoomEntry(9, kPos), Bytes("\x01\x05\x00\x09") + kPosBytes);
}

TEST(BuildOwnMove, Layout) {
  EXPECT_EQ(BuildOwnMove(kPos), Bytes("\x01\x01") + kPosBytes);
}

// --- to the host ---------------------------------------------------------

TEST(BuildChatText, Layout) {
  EXPECT_EQ(BuildChatText("Tellu", "x"), Bytes("\x01\x0E\x00\x05" "Tellu" "\x01x"));
  EXPECT_EQ(BuildChatText("", ""), Bytes("\x01\x0E\x00\x00\x00"));
}

TEST(BuildChatText, OverlongTextIsCutAndSpeakerKept) {
  std::string payload = BuildChatText("Tellu", std::string(400, 'y'));
  EXPECT_EQ(payload.size(), kMaxPayload);
  EXPECT_EQ(payload.substr(0, 9), Bytes("\x01\x0E\x00\x05" "Tellu"));
}

TEST(BuildObjectNaming, Layout) {
  EXPECT_EQ(BuildObjectNaming("ann", 3), Bytes("\xFF\x0D\x03" "ann" "\x03"));
  EXPECT_EQ(BuildObjectNaming(std::string(251, 'n'), 3), "");
}

TEST(BuildPositionBatch, OneRecordPerObject) {
  std::vector<BatchRecord> records{{1, 4, kPos}, {11, 0x105, {}}};
  EXPECT_EQ(BuildPositionBatch(records),
            Bytes("\xFE\x0C") + Bytes("\x01\x00\x04") + kPosBytes +
                Bytes("\x0B\x00\x05") + std::string(8, '\0'));
  EXPECT_EQ(BuildPositionBatch({}), Bytes("\xFE\x0C"));
}

TEST(BuildPositionBatch, NeverPassesOnePayload) {
  std::vector<BatchRecord> records(22, BatchRecord{2, 0, kPos});
  EXPECT_EQ(BuildPositionBatch(records).size(), 2u + 22 * 11);
  records.push_back(records.back());
  EXPECT_EQ(BuildPositionBatch(records), "");
}

TEST(BuildObjectMove, Layout) {
  EXPECT_EQ(BuildObjectMove(5, kPos), Bytes("\x05\x01") + kPosBytes);
}

TEST(BuildObjectEvent, AlwaysThreeOpaqueBytes) {
  EXPECT_EQ(BuildObjectEvent(4, "abc"), Bytes("\xFE\x04\x04" "abc"));
  EXPECT_EQ(BuildObjectEvent(4, "a"), Bytes("\xFE\x04\x04" "a\x00\x00"));
  EXPECT_EQ(BuildObjectEvent(4, "abcd"), Bytes("\xFE\x04\x04" "abc"));
}

TEST(BuildNamedObjectAvatar, Layout) {
  EXPECT_EQ(BuildNamedObjectAvatar("ann", "x\\y.mov"),
            Bytes("\x00\x03" "ann" "\x03\x05\x07" "x\\y.mov"));
  EXPECT_EQ(BuildNamedObjectAvatar(std::string(120, 'n'), std::string(130, 'r')), "");
}

TEST(BuildRoomPositionRecord, Layout) {
  EXPECT_EQ(BuildRoomPositionRecord(3, 9, Bytes("\x01\x02"), kPos),
            Bytes("\xFE\x12\x03\x00\x09\x01\x02") + kPosBytes);
  EXPECT_EQ(BuildRoomPositionRecord(3, 9, "", kPos),
            Bytes("\xFE\x12\x03\x00\x09\x00\x00") + kPosBytes);
}

TEST(BuildObjectRelease, Layout) { EXPECT_EQ(BuildObjectRelease(1), Bytes("\xFE\x0B\x01")); }

}  // namespace
}  // namespace tellu
