#include <gtest/gtest.h>

#include <optional>
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
            (std::vector<WhoEntry>{{"amy         ", 152, false},
                                   {"bob         ", 164, false},
                                   {"zed         z", kNoStatusBitmap, true}}));
  EXPECT_TRUE(WhoEntries(ObjectTable{}, muted).empty());
}

TEST(WhoEntries, HandleAndDoubleClickText) {
  struct Case {
    const char* text;
    std::optional<std::string> handle;
  } cases[] = {{"amy         bear", "amy"},
               {"abcdefghijklmbear", std::nullopt},  // a long name leaves no blank
               {" lead", std::nullopt},
               {"", std::nullopt},
               {"\x83\x5C\x83\x5C x", "\x83\x5C\x83\x5C"}};
  for (const Case& c : cases) EXPECT_EQ(EntryHandle(c.text), c.handle) << c.text;

  EXPECT_EQ(AddressedText("", "amy"), "amy:");
  EXPECT_EQ(AddressedText("hi", "amy"), "hi\x81\x84" "amy");
}

}  // namespace
}  // namespace tellu
