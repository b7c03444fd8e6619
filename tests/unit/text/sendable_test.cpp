#include <gtest/gtest.h>

#include <string>

#include "text/sjis.h"

namespace tellu::text {
namespace {

using namespace std::string_literals;

struct Found {
  size_t offset;
  size_t size;
  char32_t code_point;
  bool broken;
};

void ExpectFound(const std::vector<Unsendable>& got, const std::vector<Found>& want,
                 const std::string& label) {
  ASSERT_EQ(got.size(), want.size()) << label;
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(got[i].offset, want[i].offset) << label << " #" << i;
    EXPECT_EQ(got[i].size, want[i].size) << label << " #" << i;
    EXPECT_EQ(got[i].code_point, want[i].code_point) << label << " #" << i;
    EXPECT_EQ(got[i].broken, want[i].broken) << label << " #" << i;
  }
}

// Characters of typed UTF-16: what is refused and, for a line that passes,
// the bytes it is sent as (the same as the conversion always gave).
TEST(Sendable, Utf16Corners) {
  const struct {
    std::u16string typed;
    std::vector<Found> refused;
    const char* sjis;  // for a line that passes
  } cases[] = {
      {u"hi \U0001F600 there", {{3, 2, 0x1F600, false}}, nullptr},
      {u"\U0001F600\U0001F601", {{0, 2, 0x1F600, false}, {2, 2, 0x1F601, false}}, nullptr},
      {u"a\xD800" "b", {{1, 1, 0xD800, false}}, nullptr},           // lone high
      {u"a\xDC00", {{1, 1, 0xDC00, false}}, nullptr},               // lone low
      {u"\xDC00\xD800", {{0, 1, 0xDC00, false}, {1, 1, 0xD800, false}}, nullptr},  // wrong order
      {u"\xD800", {{0, 1, 0xD800, false}}, nullptr},                // cut pair
      {u"caf\u00E9", {{3, 1, 0xE9, false}}, nullptr},               // best fit "e": refused
      {u"\u00B7\u3094", {{0, 1, 0xB7, false}, {1, 1, 0x3094, false}}, nullptr},
      {u"\uD55C\uAD6D \u2665", {{0, 1, 0xD55C, false}, {1, 1, 0xAD6D, false},
                                {3, 1, 0x2665, false}}, nullptr},  // "한국 ♥"
      {u"a\u20ACb\uFFFD", {{1, 1, 0x20AC, false}, {3, 1, 0xFFFD, false}}, nullptr},
      {u"", {}, ""},
      {u"\u3042\u6F22\uFF71!\\", {}, "\x82\xA0\x8A\xBF\xB1!\x5C"},
      // The JIS readings other systems type, as the conversion sends them.
      {u"\u301C\u2016\u2212\u2014", {}, "\x81\x60\x81\x61\x81\x7C\x81\x5C"},
      {u"\uFF5E\u2225\uFF0D\u2015", {}, "\x81\x60\x81\x61\x81\x7C\x81\x5C"},
      {u"\u00A5\u00A2\u00A3\u00AC", {}, "\x5C\x81\x91\x81\x92\x81\xCA"},
      // The user-defined rows, NEC and IBM rows, the single bytes above 7F.
      {u"\uE000\uE757", {}, "\xF0\x40\xF9\xFC"},
      {u"\uE758", {{0, 1, 0xE758, false}}, nullptr},
      {u"\u2170\u2252\u2460", {}, "\xFA\x40\x81\xE0\x87\x40"},
      {u"\u0080\uF8F0\uF8F3", {}, "\x80\xA0\xFF"},
      {u"a\0\tb"s, {}, nullptr},
  };
  for (const auto& c : cases) {
    const std::string label = SjisToUtf8(Utf16ToSjis(c.typed));
    ExpectFound(FindUnsendable(c.typed), c.refused, label);
    if (c.sjis) {
      EXPECT_EQ(Utf16ToSjis(c.typed), c.sjis) << label;
    }
  }
}

TEST(Sendable, Utf8Corners) {
  const struct {
    std::string typed;
    std::vector<Found> refused;
  } cases[] = {
      {"hi \xF0\x9F\x98\x80 there", {{3, 4, 0x1F600, false}}},
      {"caf\xC3\xA9", {{3, 2, 0xE9, false}}},
      {"\xE3\x80\x9C\xE2\x80\x94\xC2\xA5", {}},          // U+301C U+2014 U+00A5
      {"\xEE\x80\x80", {}},                              // U+E000
      {"a\xE3\x81", {{1, 2, 0xFFFD, true}}},              // cut at the end
      {"\xE3\x81" "b", {{0, 2, 0xFFFD, true}}},           // broken inside
      {"\x80\xBF", {{0, 1, 0xFFFD, true}, {1, 1, 0xFFFD, true}}},  // stray continuations
      {"\xC0\xAF", {{0, 1, 0xFFFD, true}, {1, 1, 0xFFFD, true}}},  // overlong "/"
      {"\xED\xA0\x80", {{0, 1, 0xFFFD, true}, {1, 1, 0xFFFD, true}, {2, 1, 0xFFFD, true}}},
      {"\xF4\x90\x80\x80" "a", {{0, 1, 0xFFFD, true}, {1, 1, 0xFFFD, true},
                                {2, 1, 0xFFFD, true}, {3, 1, 0xFFFD, true}}},
      {"\xF0\x9F\x98", {{0, 3, 0xFFFD, true}}},
      {"\xEF\xBF\xBD", {{0, 3, 0xFFFD, false}}},          // a real U+FFFD
      {"a\0b"s, {}},
  };
  for (const auto& c : cases) ExpectFound(FindUnsendableUtf8(c.typed), c.refused, c.typed);
}

// What passes comes back from the program's text unchanged, but for the
// readings named above; what is refused would not have.
TEST(Sendable, PassesExactlyWhatComesBack) {
  const std::u16string readings = u"\u301C\u2016\u2212\u2014\u00A5\u00A2\u00A3\u00AC";
  int passed = 0;
  for (char32_t c = 1; c <= 0xFFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const std::u16string typed(1, static_cast<char16_t>(c));
    const bool sendable = FindUnsendable(typed).empty();
    const bool comes_back = SjisToUtf16(Utf16ToSjis(typed)) == typed;
    const bool reading = readings.find(static_cast<char16_t>(c)) != std::u16string::npos;
    EXPECT_EQ(sendable, comes_back || reading) << std::hex << static_cast<uint32_t>(c);
    if (reading) {
      EXPECT_NE(Utf16ToSjis(typed), "?");
    }
    passed += sendable;
  }
  EXPECT_GT(passed, 7000);
}

TEST(Sendable, ShiftJisThatIsNotCodePage932) {
  const struct {
    std::string sjis;
    size_t first;
  } cases[] = {
      {"", std::string::npos},
      {"hello \x82\xA0\xB1", std::string::npos},
      {"\x80\xA0\xFD\xFF\xF0\x40", std::string::npos},
      {"\x82 a", 0},               // lead without trail
      {"ab\x82", 2},               // cut after the lead
      {"a\x85\x40", 1},            // unassigned pair
      {"\x82\xA0\xEB\x40", 2},     // unassigned row
      {"\x81\x5C\x81\x7F", 2},     // 7F is no trail byte
  };
  for (const auto& c : cases) EXPECT_EQ(FindUnmapped(c.sjis), c.first) << c.sjis;
}

}  // namespace
}  // namespace tellu::text
