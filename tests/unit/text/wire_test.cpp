#include <gtest/gtest.h>

#include <string>

#include "all_codes.h"
#include "text/sjis.h"

namespace tellu::text {
namespace {

using namespace std::string_literals;
using codes::AllCodes;
using codes::Bytes;
using codes::IsWrittenAs;

TEST(WireSpecialRows, YenAndBackslashSwapAsTheHostExpects) {
  EXPECT_EQ(SjisToWire("a\x5C" "b"), "a\xC2\xA5" "b");
  EXPECT_EQ(WireToSjis("a\xC2\xA5" "b"), "a\x5C" "b");
  EXPECT_EQ(WireToSjis("a\x5C" "b"), "a\x81\x5F" "b");  // "＼"
  EXPECT_EQ(SjisToWire("a\x81\x5F" "b"), "a\x5C" "b");
}

TEST(WireSpecialRows, WritingAlwaysUsesTheFixedCodePoints) {
  // Windows' table would give U+FF5E, U+2225 and U+FF0D.
  EXPECT_EQ(SjisToWire("\x81\x60"), "\xE3\x80\x9C");  // U+301C
  EXPECT_EQ(SjisToWire("\x81\x61"), "\xE2\x80\x96");  // U+2016
  EXPECT_EQ(SjisToWire("\x81\x7C"), "\xE2\x88\x92");  // U+2212
}

TEST(WireSpecialRows, ReadingTakesBothTheFallbackAndTheTableForm) {
  EXPECT_EQ(WireToSjis("\xE3\x80\x9C"), "\x81\x60");  // U+301C, fallback
  EXPECT_EQ(WireToSjis("\xEF\xBD\x9E"), "\x81\x60");  // U+FF5E, table
  EXPECT_EQ(WireToSjis("\xE2\x80\x96"), "\x81\x61");  // U+2016
  EXPECT_EQ(WireToSjis("\xE2\x88\xA5"), "\x81\x61");  // U+2225
  EXPECT_EQ(WireToSjis("\xE2\x88\x92"), "\x81\x7C");  // U+2212
  EXPECT_EQ(WireToSjis("\xEF\xBC\x8D"), "\x81\x7C");  // U+FF0D
}

TEST(WireReading, EncodedLengths) {
  EXPECT_EQ(WireToSjis("Hi"), "Hi");
  EXPECT_EQ(WireToSjis("\xCE\xA9"), "\x83\xB6");          // U+03A9 "Ω", two bytes
  EXPECT_EQ(WireToSjis("\xE3\x81\x82"), "\x82\xA0");      // U+3042 "あ"
  EXPECT_EQ(WireToSjis("\xEF\xBD\xB1"), "\xB1");          // U+FF71 "ｱ"
  EXPECT_EQ(WireToSjis("\xE2\x91\xA0"), "\x87\x40");      // U+2460 "①"
  EXPECT_EQ(WireToSjis("\xE2\x85\xB0"), "\xFA\x40");      // U+2170 "ⅰ"
}

TEST(WireReading, NulEndsTheText) {
  EXPECT_EQ(WireToSjis("Tar\xC0\x80" "o"), "Tar");
  EXPECT_EQ(WireToSjis("Tar\0o"s), "Tar");
  EXPECT_EQ(WireToSjis("Tar\xE0\x80\x80" "o"), "Tar");  // a longer NUL
  EXPECT_EQ(WireToSjis("\xC0\x80"), "");
}

TEST(WireReading, StrayContinuationEndsTheText) {
  EXPECT_EQ(WireToSjis("ab\x80" "cd"), "ab");
  EXPECT_EQ(WireToSjis("ab\xBF"), "ab");
  // A four-byte sequence is foreign to the sender: its lead takes two bytes
  // and the fourth is stray.
  EXPECT_EQ(WireToSjis("a\xF0\x9F\x98\x80" "b"), "a");
}

TEST(WireReading, HighLeadsTakeTwoContinuationBytes) {
  EXPECT_EQ(WireToSjis("\xF3\x81\x82" "b"), "\x82\xA0" "b");  // as E3 81 82
  EXPECT_EQ(WireToSjis("\xFF\xBC\xA1" "b"), "\x82\x60" "b");  // U+FF21 "Ａ"
}

TEST(WireReading, UnknownCodePointsAreLeftOut) {
  EXPECT_EQ(WireToSjis("caf\xC3\xA9!"), "caf!");    // U+00E9
  EXPECT_EQ(WireToSjis("\xE2\x82\xAC" "5"), "5");   // U+20AC
  // A surrogate pair from a 16-bit sender: two unknown code points.
  EXPECT_EQ(WireToSjis("a\xED\xA0\xBD\xED\xB8\x80" "b"), "ab");
}

TEST(WireReading, BrokenSequenceIsLeftOutAndReadingGoesOn) {
  EXPECT_EQ(WireToSjis("\xC3" "A"), "A");
  EXPECT_EQ(WireToSjis("\xE3\x81" "A"), "A");
  EXPECT_EQ(WireToSjis("\xE3\xE3\x81\x82"), "\x82\xA0");
  EXPECT_EQ(WireToSjis("\xE3\x81\xC0\x80" "A"), "");  // the breaker is a NUL
}

TEST(WireReading, SequenceCutByTheEndOfTheFieldIsLeftOut) {
  EXPECT_EQ(WireToSjis("ab\xE3\x81"), "ab");
  EXPECT_EQ(WireToSjis("ab\xE3"), "ab");
  EXPECT_EQ(WireToSjis("ab\xC0"), "ab");
}

TEST(WireReading, OverlongFormsReadAsTheirCodePoint) {
  EXPECT_EQ(WireToSjis("\xC1\x81"), "A");
  EXPECT_EQ(WireToSjis("\xC1\x9C"), "\x81\x5F");  // still a backslash
}

TEST(WireWriting, NulEndsTheText) {
  EXPECT_EQ(SjisToWire("ab\0cd"s), "ab");
  EXPECT_EQ(SjisToWire("\0"s), "");
}

TEST(WireWriting, InvalidShiftJisIsSentAsAMiddleDot) {
  const std::string dot = "\xE3\x83\xBB";  // U+30FB
  EXPECT_EQ(SjisToWire("a\x82"), "a" + dot);            // lead at the end
  EXPECT_EQ(SjisToWire("\x82 a"), dot + " a");          // lead without trail
  EXPECT_EQ(SjisToWire("\x83\x5C"), "\xE3\x82\xBD");    // 5C as a trail: "ソ"
  EXPECT_EQ(SjisToWire("\x85\x40" "a"), dot + "a");     // unassigned pair
  EXPECT_EQ(SjisToWire("\x82\x7F"), dot + "\x7F");
}

TEST(WireWriting, SingleBytesAboveAscii) {
  EXPECT_EQ(SjisToWire("\xB1"), "\xEF\xBD\xB1");  // "ｱ"
  EXPECT_EQ(SjisToWire("\xA0"), "\xEF\xA3\xB0");  // U+F8F0
  EXPECT_EQ(SjisToWire("\x80"), "\xC2\x80");
  EXPECT_EQ(SjisToWire("\xFD"), "\xEF\xA3\xB1");
}

TEST(WireRoundTrip, EveryCodeComesBackAsThePreferredCode) {
  for (uint16_t code : AllCodes()) {
    if (code == 0) continue;
    EXPECT_TRUE(IsWrittenAs(code, WireToSjis(SjisToWire(Bytes(code))))) << std::hex << code;
  }
}

// Searching Shift-JIS text: 5C and 7E are also second bytes (表 is 95 5C, ミ is 83 7E).
TEST(SjisSearch, SecondBytesNeverMatchAndABrokenLeadStandsAlone) {
  const std::string path = "a\x95\x5C" "b\\c\x83\x7E.mov";
  EXPECT_EQ(FindChar(path, '\\'), 4u);
  EXPECT_EQ(FindChar(path, '\\', 5), std::string::npos);
  EXPECT_EQ(FindChar(path, '.'), 8u);
  EXPECT_EQ(FindChar("\x83\x7E~", '~'), 2u);
  EXPECT_EQ(CharSize("\x82\xA0", 0), 2u);
  EXPECT_EQ(CharSize("\x82 x", 0), 1u);  // a blank is no trail byte
  EXPECT_EQ(CharSize("\x82", 0), 1u);
  EXPECT_EQ(FindChar("\x82:x", ':'), 1u);
}

}  // namespace
}  // namespace tellu::text
