#include <gtest/gtest.h>

#include <climits>

#include "chat/wire.h"
#include "unit/chat/movement_recording_relay.h"

namespace tellu {
namespace {

// --- reading -------------------------------------------------------------

TEST(PayloadReader, ChatTextWithEmptySpeakerKeepsTheWholeText) {
  const std::string r_bytes = Bytes("\x01\x0E\x00\x00\x05hello");
  PayloadReader r(r_bytes, 3);
  EXPECT_EQ(r.ReadString(), "");
  EXPECT_EQ(r.ReadString(), "hello");
  EXPECT_TRUE(r.AtEnd());
}

TEST(PayloadReader, CountedFieldRunningPastTheEndYieldsWhatIsPresent) {
  const std::string raw_bytes = Bytes("\x09" "ab");
  PayloadReader raw(raw_bytes);
  EXPECT_EQ(raw.ReadRaw(), "ab");
  EXPECT_EQ(raw.offset(), 3u);
  EXPECT_TRUE(raw.AtEnd());

  const std::string text_bytes = Bytes("\x20" "abc");
  PayloadReader text(text_bytes);
  EXPECT_EQ(text.ReadString(), "abc");
  EXPECT_TRUE(text.AtEnd());
}

TEST(PayloadReader, LengthByteAloneAtTheEndReadsEmpty) {
  const std::string r_bytes = Bytes("\x05");
  PayloadReader r(r_bytes);
  EXPECT_EQ(r.ReadString(), "");
  EXPECT_EQ(r.ReadRaw(), "");
  EXPECT_EQ(r.offset(), 1u);
}

TEST(PayloadReader, ReadsPastTheEndGiveZeroAndDoNotMove) {
  const std::string r_bytes = Bytes("\x07");
  PayloadReader r(r_bytes);
  EXPECT_EQ(r.ReadByte(), 7);
  EXPECT_EQ(r.ReadByte(), 0);
  r.Skip(100);
  EXPECT_EQ(r.offset(), 1u);
  EXPECT_EQ(r.ReadPosition(), Position{});
}

TEST(PayloadReader, RestTakesTheRemainingBytesAsTheyAre) {
  const std::string bytes = Bytes("\x01\x03\x05\x00" "a\\b\x00");
  PayloadReader r(bytes, 4);
  EXPECT_EQ(r.ReadRest(), Bytes("a\\b\x00"));
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(r.ReadRest(), "");
}

TEST(PayloadReader, StartOffsetBeyondThePayloadIsAtEnd) {
  const std::string r_bytes = Bytes("\x01\x02");
  PayloadReader r(r_bytes, 10);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(r.offset(), 2u);
}

TEST(PayloadReader, PositionIsFourBigEndianSignedValues) {
  const std::string r_bytes = Bytes("\xFF\xFF\x01\x00\x12\x34\xFF\x4D");
  PayloadReader r(r_bytes);
  EXPECT_EQ(r.ReadPosition(), (Position{-1, 256, 0x1234, -179}));
  EXPECT_TRUE(r.AtEnd());
}

TEST(PayloadReader, PositionCutShortReadsMissingBytesAsZero) {
  // z has its high byte only; dir is missing altogether.
  const std::string r_bytes = Bytes("\x00\x01\xFF\xFE\x7F");
  PayloadReader r(r_bytes);
  EXPECT_EQ(r.ReadPosition(), (Position{1, -2, 0x7F00, 0}));
  EXPECT_EQ(r.offset(), 5u);
}

TEST(PayloadReader, FixedFieldIsPaddedWithZeros) {
  const std::string r_bytes = Bytes("\x04\x09");
  PayloadReader r(r_bytes);
  EXPECT_EQ(r.ReadByte(), 4);
  EXPECT_EQ(r.ReadFixed(3), Bytes("\x09\x00\x00"));
  EXPECT_TRUE(r.AtEnd());
}

TEST(PayloadReader, WireTextIsConvertedToShiftJis) {
  // Yen sign -> 5C, wire backslash -> full-width backslash.
  const std::string r_bytes = Bytes("\x02\xC2\xA5\x01\x5C");
  PayloadReader r(r_bytes);
  EXPECT_EQ(r.ReadString(), "\x5C");
  EXPECT_EQ(r.ReadString(), "\x81\x5F");
}

TEST(PayloadReader, EncodedNulCutsANameButNotTheField) {
  const std::string r_bytes = Bytes("\x05" "ab\xC0\x80" "c" "\x01" "d");
  PayloadReader r(r_bytes);
  EXPECT_EQ(r.ReadString(), "ab");
  EXPECT_EQ(r.ReadString(), "d");
}

TEST(DecodePosition, ShortInputReadsMissingBytesAsZero) {
  EXPECT_EQ(DecodePosition(Bytes("\x00\x05\x00")), (Position{5, 0, 0, 0}));
}

// --- writing -------------------------------------------------------------

TEST(PutString, YenAndBackslashSwapAtTheEdge) {
  std::string out;
  PutString(out, "\x5C");
  PutString(out, "\x81\x5F");
  EXPECT_EQ(out, Bytes("\x02\xC2\xA5\x01\x5C"));
}

TEST(PutString, EmptyTextIsASingleZeroByte) {
  std::string out;
  PutString(out, "");
  EXPECT_EQ(out, Bytes("\x00"));
}

TEST(PutString, OverlongTextIsCutAtACharacterBoundary) {
  // "a" then 100 x "あ": 1 + 300 wire bytes; 255 falls inside a character.
  std::string text = "a";
  for (int i = 0; i < 100; ++i) text += "\x82\xA0";
  std::string out;
  PutString(out, text);
  std::size_t length = static_cast<uint8_t>(out[0]);
  EXPECT_EQ(length + 1, out.size());
  EXPECT_LE(length, 255u);
  EXPECT_GT(length, 252u);
  std::string back = PayloadReader(out).ReadString();
  EXPECT_EQ(back, text.substr(0, back.size()));
  std::string again;
  PutString(again, back);
  EXPECT_EQ(again, out) << "a piece of a character went out";
}

TEST(PutRaw, KeepsBytesAsTheyAreAndAtMost255) {
  std::string out;
  PutRaw(out, Bytes("\x5C\x00\xFF"));
  EXPECT_EQ(out, Bytes("\x03\x5C\x00\xFF"));

  std::string longer;
  PutRaw(longer, std::string(300, 'r'));
  EXPECT_EQ(longer, std::string(1, '\xFF') + std::string(255, 'r'));
}

TEST(PutPosition, WritesBigEndianSixteenBitValues) {
  std::string out;
  PutPosition(out, {-1, 256, 0x1234, -179});
  EXPECT_EQ(out, Bytes("\xFF\xFF\x01\x00\x12\x34\xFF\x4D"));
  EXPECT_EQ(PayloadReader(out).ReadPosition(), (Position{-1, 256, 0x1234, -179}));
}

// --- angles --------------------------------------------------------------

TEST(NormaliseAngle, WrapsIntoMinus179To180) {
  EXPECT_EQ(NormaliseAngle(540), 180);
  EXPECT_EQ(NormaliseAngle(541), -179);
  EXPECT_EQ(NormaliseAngle(-539), -179);
  EXPECT_EQ(NormaliseAngle(-180), 180);
  EXPECT_EQ(NormaliseAngle(181), -179);
  EXPECT_EQ(NormaliseAngle(180), 180);
  EXPECT_EQ(NormaliseAngle(-179), -179);
}

TEST(NormaliseAngle, KeepsTheDirectionForEveryAngle) {
  for (int a = -2000; a <= 2000; ++a) {
    int n = NormaliseAngle(a);
    ASSERT_GE(n, -179) << a;
    ASSERT_LE(n, 180) << a;
    ASSERT_EQ((a - n) % 360, 0) << a;
  }
  for (int a : {INT_MAX, INT_MIN, 32767, -32768}) {
    int n = NormaliseAngle(a);
    EXPECT_GE(n, -179) << a;
    EXPECT_LE(n, 180) << a;
    EXPECT_EQ((static_cast<long long>(a) - n) % 360, 0) << a;
  }
}

}  // namespace
}  // namespace tellu
