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

TEST(DisplayFromSjis, ReadsAsWindowsDoes) {
  EXPECT_EQ(SjisToUtf16("C:\x5C" "a"), u"C:\\a");  // no yen sign here
  EXPECT_EQ(SjisToUtf16("\x81\x5F\x81\x60"), u"\uFF3C\uFF5E");
  EXPECT_EQ(SjisToUtf16("\x82\xA0\x8A\xBF\xB1"), u"\u3042\u6F22\uFF71");  // "あ漢ｱ"
  EXPECT_EQ(SjisToUtf8("\x82\xA0" "a\xB1"), "\xE3\x81\x82" "a\xEF\xBD\xB1");
  EXPECT_EQ(SjisToUtf16("a\0b"s), u"a\0b"s);
}

TEST(DisplayFromSjis, InvalidCharactersShowAMiddleDot) {
  EXPECT_EQ(SjisToUtf16("\x85\x40" "a"), u"\u30FB" "a");  // unassigned pair
  EXPECT_EQ(SjisToUtf16("\x82 a"), u"\u30FB a");          // lead without trail
  EXPECT_EQ(SjisToUtf16("a\x82"), u"a\u30FB");            // cut after the lead
  EXPECT_EQ(SjisToUtf8("a\x82"), "a\xE3\x83\xBB");
}

TEST(DisplayToSjis, TypedCharacters) {
  EXPECT_EQ(Utf16ToSjis(u"\u3042\u6F22\uFF71!"), "\x82\xA0\x8A\xBF\xB1!");
  EXPECT_EQ(Utf8ToSjis("\xE3\x81\x82" "a"), "\x82\xA0" "a");
  EXPECT_EQ(Utf16ToSjis(u"\\"), "\x5C");
  EXPECT_EQ(Utf16ToSjis(u"\u2170"), "\xFA\x40");  // Windows' choice of duplicates
}

TEST(DisplayToSjis, OtherSystemsFormsOfJapanesePunctuation) {
  EXPECT_EQ(Utf16ToSjis(u"\u301C\uFF5E"), "\x81\x60\x81\x60");
  EXPECT_EQ(Utf16ToSjis(u"\u2016\u2212\u2014"), "\x81\x61\x81\x7C\x81\x5C");
  EXPECT_EQ(Utf8ToSjis("\xE3\x80\x9C"), "\x81\x60");
}

TEST(DisplayToSjis, BestFitForOtherScripts) {
  EXPECT_EQ(Utf16ToSjis(u"caf\u00E9"), "cafe");
  EXPECT_EQ(Utf16ToSjis(u"\u00A5"), "\x5C");
  EXPECT_EQ(Utf8ToSjis("\xC2\xB7"), "\x81\x45");  // U+00B7 -> "・"
}

TEST(DisplayToSjis, UnmappableBecomesQuestionMark) {
  EXPECT_EQ(Utf16ToSjis(u"a\u20ACb"), "a?b");                // U+20AC
  EXPECT_EQ(Utf16ToSjis(u"a\U0001F600b"), "a?b");            // a pair is one mark
  EXPECT_EQ(Utf16ToSjis(u"a\xD800" "b"), "a?b");             // lone high
  EXPECT_EQ(Utf16ToSjis(u"a\xDC00"), "a?");                  // lone low
  EXPECT_EQ(Utf16ToSjis(u"\xD800"), "?");
  EXPECT_EQ(Utf8ToSjis("a\xF0\x9F\x98\x80" "b"), "a?b");
}

// Stored as typed: only characters with a code of their own.
TEST(DisplayToSjis, ExactConversionRefusesGuessesAndMarks) {
  const struct {
    const char16_t* typed;
    const char* sjis;  // nullptr: refused
  } cases[] = {{u"\u3042a\\", "\x82\xA0" "a\x5C"}, {u"\u301C", "\x81\x60"},
               {u"", ""},  {u"caf\u00E9", nullptr}, {u"\u00A5", nullptr},
               {u"a\u20ACb", nullptr}, {u"\U0001F600", nullptr}};
  for (const auto& c : cases) {
    std::string out;
    EXPECT_EQ(Utf16ToSjisExact(c.typed, out), c.sjis != nullptr);
    if (c.sjis) {
      EXPECT_EQ(out, c.sjis);
    }
  }
}

TEST(DisplayToSjis, IllFormedUtf8GivesOneMarkPerBreak) {
  EXPECT_EQ(Utf8ToSjis("a\xE3\x81"), "a?");          // cut at the end
  EXPECT_EQ(Utf8ToSjis("\xE3\x81" "b"), "?b");       // broken inside
  EXPECT_EQ(Utf8ToSjis("\x80\xBF"), "??");           // stray continuations
  EXPECT_EQ(Utf8ToSjis("\xC0\x80"), "??");           // NUL in modified form
  EXPECT_EQ(Utf8ToSjis("\xE0\x80\x80"), "???");      // overlong
  EXPECT_EQ(Utf8ToSjis("\xED\xA0\x80"), "???");      // surrogate
  EXPECT_EQ(Utf8ToSjis("\xF4\x90\x80\x80"), "????");  // beyond U+10FFFF
  EXPECT_EQ(Utf8ToSjis("\xF0\x9F\x98"), "?");
  EXPECT_EQ(Utf8ToSjis("\xFF" "a"), "?a");
  EXPECT_EQ(Utf8ToSjis("a\0b"s), "a\0b"s);
}

TEST(DisplayRoundTrip, EveryCodeComesBackAsThePreferredCode) {
  for (uint16_t code : AllCodes()) {
    EXPECT_TRUE(IsWrittenAs(code, Utf16ToSjis(SjisToUtf16(Bytes(code))))) << std::hex << code;
    EXPECT_TRUE(IsWrittenAs(code, Utf8ToSjis(SjisToUtf8(Bytes(code))))) << std::hex << code;
  }
}

}  // namespace
}  // namespace tellu::text
