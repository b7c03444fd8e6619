#include <gtest/gtest.h>

#include <string>

#include "chat/who_list.h"

namespace tellu {
namespace {

TEST(WhoEntries, NamedOthersInObjectOrderWithPictureAndMute) {
  ObjectTable t;
  t.SetObject(1, "me", "");
  t.SetObject(9, "zed", "av\\z.mov");
  t.SetObject(3, "amy", "");
  t.SetPosition(3, Position{0, 0, 97, 81});  // this program's user, away
  t.SetObject(5, "bob", "");
  t.SetPosition(5, Position{0, 0, 4, 8});     // a Mirabo user, bit 3 set
  t.SetObject(7, "gone", "");
  t.EmptyObject(7);
  const auto muted = [](const std::string& name) { return name == "zed"; };
  EXPECT_EQ(WhoEntries(t, muted),
            (std::vector<WhoEntry>{{"amy         ", "amy", 152, false},
                                   {"bob         ", "bob", 164, false},
                                   {"zed         z", "zed", kNoStatusBitmap, true}}));
  EXPECT_TRUE(WhoEntries(ObjectTable{}, muted).empty());
}

TEST(WhoEntries, EachEntryKeepsTheWholeNameWhateverTheLineShows) {
  // あいうえおかきくけこ: ten full-width characters, 20 bytes.
  const std::string ten_wide =
      "\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8\x82\xA9\x82\xAB\x82\xAD\x82\xAF\x82\xB1";
  struct Case {
    std::string name;
    std::string line;
  } cases[] = {
      {"a", "a         "},
      {"amy", "amy         "},
      {"abcdefghijkl", "abcdefghijkl "},
      {"abcdefghijklm", "abcdefghijklm"},  // a long name leaves no blank
      {"abcdefghijklmnopqrstu", "abcdefghijklm"},
      {ten_wide, ten_wide.substr(0, 12) + " "},  // six characters and a blank
      {"abcdefghijkl\x82\xA0", "abcdefghijkl "},  // the cut falls inside あ
      // ｱｲｳｴｵｶｷｸｹｺｻｼｽｾ: half-width kana, one byte each.
      {"\xB1\xB2\xB3\xB4\xB5\xB6\xB7\xB8\xB9\xBA\xBB\xBC\xBD\xBE",
       "\xB1\xB2\xB3\xB4\xB5\xB6\xB7\xB8\xB9\xBA\xBB\xBC\xBD"},
      {"a b", "a b         "},
      {" lead", " lead        "},
      {"amy bear x", "amy bear x   "},
      {"\x83\x5C\x83\x5C", "\x83\x5C\x83\x5C         "},  // ソソ, second bytes 5C
  };
  for (const Case& c : cases) {
    ObjectTable t;
    t.SetObject(4, c.name, "");
    const std::vector<WhoEntry> entries = WhoEntries(t, nullptr);
    ASSERT_EQ(entries.size(), 1u) << c.name;
    EXPECT_EQ(entries[0].name, c.name);
    EXPECT_EQ(entries[0].text, c.line) << c.name;
  }
}

TEST(WhoEntries, DoubleClickText) {
  EXPECT_EQ(AddressedText("", "amy"), "amy:");
  EXPECT_EQ(AddressedText("hi", "amy"), "hi\x81\x84" "amy");
}

}  // namespace
}  // namespace tellu
