#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "all_codes.h"
#include "text/sjis.h"

namespace tellu::text {
namespace {

using codes::AllCodes;

char16_t Decode(uint16_t code) {
  char16_t u = 0;
  EXPECT_TRUE(Cp932ToUnicode(code, u)) << std::hex << code;
  return u;
}

uint16_t Encode(char16_t u) {
  uint16_t code = 0;
  EXPECT_TRUE(UnicodeToCp932(u, code)) << std::hex << int(u);
  return code;
}

TEST(Cp932Table, KnownCharactersBothWays) {
  struct Known {
    uint16_t code;
    char16_t unicode;
  } known[] = {
      {0x82A0, u'\u3042'},  // "あ"
      {0x8ABF, u'\u6F22'},  // "漢"
      {0x8340, u'\u30A1'},  // "ァ"
      {0x8740, u'\u2460'},  // "①", NEC row 13
      {0x875F, u'\u3349'},  // "㍉", NEC row 13
      {0xFA40, u'\u2170'},  // "ⅰ", IBM extension
      {0xFA5C, u'\u7E8A'},  // "纊", first IBM extension kanji
      {0xFC4B, u'\u9ED1'},  // "黑", last code of the IBM rows
      {0x8160, u'\uFF5E'},  // "～" as Windows reads it
      {0x815F, u'\uFF3C'},  // "＼"
      {0x00B1, u'\uFF71'},  // "ｱ", half-width
      {0x00A1, u'\uFF61'},
      {0x00DF, u'\uFF9F'},
      {0x0041, u'A'},
      {0x005C, u'\\'},
      {0x007E, u'~'},
      {0xF040, u'\uE000'},  // user-defined rows
      {0xF9FC, u'\uE757'},
  };
  for (const Known& k : known) {
    EXPECT_EQ(Decode(k.code), k.unicode) << std::hex << k.code;
    EXPECT_EQ(Encode(k.unicode), k.code) << std::hex << k.code;
  }
}

TEST(Cp932Table, SingleBytesOutsideAsciiAsWindowsHasThem) {
  EXPECT_EQ(Decode(0x80), u'\u0080');
  EXPECT_EQ(Decode(0xA0), u'\uF8F0');
  EXPECT_EQ(Decode(0xFD), u'\uF8F1');
  EXPECT_EQ(Decode(0xFF), u'\uF8F3');
  char16_t u;
  EXPECT_FALSE(Cp932ToUnicode(0x81, u));  // lead bytes are not characters
  EXPECT_FALSE(Cp932ToUnicode(0xE0, u));
}

TEST(Cp932Table, DuplicatesEncodeAsWindowsChooses) {
  EXPECT_EQ(Decode(0xEEEF), u'\u2170');  // NEC-selected "ⅰ" ...
  EXPECT_EQ(Encode(u'\u2170'), 0xFA40);  // ... goes out as IBM's
  EXPECT_EQ(Decode(0xFA4A), u'\u2160');  // IBM "Ⅰ" ...
  EXPECT_EQ(Encode(u'\u2160'), 0x8754);  // ... goes out as NEC row 13's
  EXPECT_EQ(Decode(0x8790), u'\u2252');  // NEC "≒" ...
  EXPECT_EQ(Encode(u'\u2252'), 0x81E0);  // ... goes out as JIS's
  EXPECT_EQ(Decode(0xED40), u'\u7E8A');  // NEC-selected "纊" ...
  EXPECT_EQ(Encode(u'\u7E8A'), 0xFA5C);  // ... goes out as IBM's
  EXPECT_EQ(Encode(u'\uFFE2'), 0x81CA);  // "￢" in three rows
}

TEST(Cp932Table, RejectsWhatWindowsRejects) {
  char16_t u;
  uint16_t code;
  EXPECT_FALSE(Cp932ToUnicode(0x8540, u));  // unassigned rows
  EXPECT_FALSE(Cp932ToUnicode(0xEB40, u));
  EXPECT_FALSE(Cp932ToUnicode(0x827F, u));  // 7F is never a trail byte
  EXPECT_FALSE(Cp932ToUnicode(0x82FD, u));
  EXPECT_FALSE(Cp932ToUnicode(0x8230, u));
  EXPECT_FALSE(UnicodeToCp932(u'\u301C', code));  // JIS's wave dash
  EXPECT_FALSE(UnicodeToCp932(u'\u00A5', code));  // no best fit here
  EXPECT_FALSE(UnicodeToCp932(u'\u00E9', code));
  EXPECT_FALSE(UnicodeToCp932(u'\u20AC', code));
  EXPECT_FALSE(UnicodeToCp932(char16_t{0xD800}, code));
}

// Windows prefers JIS X 0208 rows, then NEC row 13, then the IBM rows, and
// the NEC-selected IBM rows last.
int Rank(uint16_t code) {
  const unsigned lead = code >> 8;
  if (code < 0x100) return 0;
  if (lead == 0x87) return 2;
  if (lead >= 0xFA && lead <= 0xFC) return 3;
  if (lead == 0xED || lead == 0xEE) return 4;
  return 1;
}

TEST(Cp932Table, EveryCodeRoundTripsToThePreferredCode) {
  std::map<char16_t, std::vector<uint16_t>> by_unicode;
  const std::vector<uint16_t> codes = AllCodes();
  for (uint16_t code : codes) by_unicode[Decode(code)].push_back(code);
  ASSERT_GT(codes.size(), 9000u);
  for (const auto& [u, same] : by_unicode) {
    uint16_t best = same.front();
    for (uint16_t code : same) {
      if (Rank(code) < Rank(best)) best = code;
    }
    EXPECT_EQ(Encode(u), best) << std::hex << int(u);
  }
}

TEST(Cp932Table, LeadBytes) {
  // The edges of the two lead ranges 81..9F and E0..FC, and their neighbours.
  const struct {
    uint8_t byte;
    bool lead;
  } edges[] = {{0x00, false}, {0x5C, false}, {0x7F, false}, {0x80, false}, {0x81, true},
               {0x9F, true},  {0xA0, false}, {0xB1, false}, {0xDF, false}, {0xE0, true},
               {0xEE, true},  {0xFC, true},  {0xFD, false}, {0xFF, false}};
  for (const auto& e : edges) EXPECT_EQ(IsLeadByte(e.byte), e.lead) << int(e.byte);
  int leads = 0;
  for (unsigned b = 0; b < 0x100; ++b) leads += IsLeadByte(static_cast<uint8_t>(b));
  EXPECT_EQ(leads, 60);  // 31 + 29
}

}  // namespace
}  // namespace tellu::text
