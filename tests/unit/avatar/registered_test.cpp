// Registered avatars from the host's configuration file, the avatar change
// menu as data, and the change itself.
#include <gtest/gtest.h>

#include <string>

#include "avatar/registered.h"
#include "text/sjis.h"
#include "unit/avatar/avatar_world.h"

namespace tellu::avatar_test {
namespace {

const std::string kRegisteredTitle =
    text::Utf8ToSjis("\xE7\x99\xBB\xE9\x8C\xB2\xEF\xBD\xB1\xEF\xBE\x8A\xEF\xBE\x9E\xEF\xBE\x80");  // 登録ｱﾊﾞﾀ

class RegisteredTest : public ::testing::Test {
 protected:
  // MYAVATAR<n> = name, with its ".cmp" file present unless told otherwise.
  void Register(int n, const std::string& name, const std::string& doc, bool cmp = true) {
    host.Set("CHG", "MYAVATAR" + std::to_string(n), name);
    host.Set("CHG", "MYAVADOC" + std::to_string(n), doc);
    if (cmp) files.Put("C:\\host\\avatar\\" + name + ".cmp", "");
  }
  int Load(bool reload = false) {
    return list.Load(host, "CHG", "avatar\\", "C:\\host\\", files, reload);
  }

  FakeProfile host;
  FakeFiles files;
  RegisteredAvatars list;
  ObjectTable objects;
  std::array<std::string, kMenuEntries> entries;
};

TEST_F(RegisteredTest, OnlyRegistrationsWithTheirCmpFileAreKept) {
  Register(1, "foo", "first");
  Register(2, "bar", "second", false);
  EXPECT_EQ(Load(), 1);
  ASSERT_EQ(list.entries().size(), 1u);
  EXPECT_EQ(list.entries()[0].file, "avatar\\foo.mov");
  EXPECT_EQ(list.entries()[0].description, "first");
  objects.SetObject(1, "me", "avatar\\me.mov");
  Menu menu = AvatarChangeMenu(list.entries(), objects, entries);
  ASSERT_GE(menu.size(), 1u);
  EXPECT_EQ(menu[0].kind, MenuItem::Kind::kPopup);
  EXPECT_EQ(menu[0].label, kRegisteredTitle);
  ASSERT_EQ(menu[0].items.size(), 1u);
  EXPECT_EQ(menu[0].items[0].label, "No. 1 foo.mov\tfirst");
  EXPECT_EQ(menu[0].items[0].command, 0x220);
}

TEST_F(RegisteredTest, UsableNamesAreOneToEightPrintableBytes) {
  Register(1, "12345678", "eight");
  Register(2, "123456789", "nine");
  Register(3, "a b", "blank");
  Register(4, "\x82\xA0", "kana");
  Register(5, "a\tb", "tab");
  Register(6, "", "empty");
  Register(7, "~!", "kept");
  EXPECT_EQ(Load(), 2);
  EXPECT_EQ(list.entries()[0].file, "avatar\\12345678.mov");
  EXPECT_EQ(list.entries()[1].file, "avatar\\~!.mov");
  Menu menu = AvatarChangeMenu(list.entries(), objects, entries);
  // The numbering counts only the entries kept.
  EXPECT_EQ(menu[0].items[1].label, "No. 2 avatar\\~!.mov\tkept");
  for (const char* v : {"12345678", "~", "A", "z9_-."}) EXPECT_TRUE(IsUsableRegistration(v));
  for (const char* v : {"", "123456789", "a b", "\x7F", "\xA0"}) EXPECT_FALSE(IsUsableRegistration(v));
}

TEST_F(RegisteredTest, ValuesAreReadAsTheHostsBuffersHoldThem) {
  Register(1, "foo", std::string(40, 'd'));
  Load();
  EXPECT_EQ(list.entries()[0].description, std::string(31, 'd'));
  Register(256, "last", "x");
  Register(257, "beyond", "x");
  EXPECT_EQ(Load(true), 2);
}

TEST_F(RegisteredTest, TheListIsReadAgainOnlyWithShiftOrWhenEmpty) {
  Load();
  const size_t empty_reads = host.reads.size();
  Load();
  EXPECT_EQ(host.reads.size(), 2 * empty_reads);  // nothing kept: read again
  Register(1, "foo", "first");
  Load();
  const size_t reads = host.reads.size();
  Register(2, "bar", "second");
  EXPECT_EQ(Load(), 1);
  EXPECT_EQ(host.reads.size(), reads);
  EXPECT_EQ(Load(true), 2);
}

TEST_F(RegisteredTest, DescriptionsGroupIntoSubmenus) {
  Register(1, "one", "one");
  Register(2, "two", "two\\grp");
  Register(3, "three", "three");
  Register(4, "four", "four\\");
  Register(5, "five", "five");
  Load();
  objects.SetObject(1, "me", "avatar\\me.mov");
  Menu menu = AvatarChangeMenu(list.entries(), objects, entries);
  const MenuItem& top = menu[0];
  ASSERT_EQ(top.items.size(), 4u);
  EXPECT_EQ(top.items[0].label, "No. 1 one.mov\tone");
  EXPECT_EQ(top.items[1].kind, MenuItem::Kind::kPopup);
  EXPECT_EQ(top.items[1].label, "grp");
  ASSERT_EQ(top.items[1].items.size(), 2u);
  EXPECT_EQ(top.items[1].items[0].label, "No. 2 two.mov\ttwo");
  EXPECT_EQ(top.items[1].items[1].label, "No. 3 three.mov\tthree");
  EXPECT_EQ(top.items[1].items[1].command, 0x222);
  EXPECT_EQ(top.items[2].label, "No. 4 four.mov\tfour");
  EXPECT_EQ(top.items[3].label, "No. 5 five.mov\tfive");
}

TEST_F(RegisteredTest, ABackslashAtTheStartOrInsideACharacterIsNoGroup) {
  Register(1, "a", "\\x");
  Register(2, "b", "\x95\x5C\x8E\xA6");  // 表示: its first character ends in 5C
  Load();
  Menu menu = AvatarChangeMenu(list.entries(), objects, entries);
  ASSERT_EQ(menu[0].items.size(), 2u);
  EXPECT_EQ(menu[0].items[0].label, "No. 1 avatar\\a.mov\t\\x");
  EXPECT_EQ(menu[0].items[1].label, "No. 2 avatar\\b.mov\t\x95\x5C\x8E\xA6");
}

TEST_F(RegisteredTest, WornAvatarsFollowWithASeparatorBeforeOthers) {
  objects.SetObject(1, "me", "avatar\\me.mov");
  objects.SetObject(3, "bob", "bob.mov");
  objects.SetObject(5, "cat", "avatar\\cat.mov");
  objects.SetObject(6, "dan", "");
  Menu menu = AvatarChangeMenu({}, objects, entries);
  ASSERT_EQ(menu.size(), 4u);
  EXPECT_EQ(menu[0].command, 0x201);
  EXPECT_EQ(menu[0].label, "me\tme.mov");
  EXPECT_EQ(menu[1].kind, MenuItem::Kind::kSeparator);
  EXPECT_EQ(menu[2].command, 0x203);
  EXPECT_EQ(menu[2].label, "bob\tbob.mov");
  EXPECT_EQ(menu[3].command, 0x205);
  EXPECT_EQ(entries[0], "avatar\\me.mov");
  EXPECT_EQ(entries[2], "bob.mov");
  EXPECT_EQ(entries[4], "avatar\\cat.mov");
  EXPECT_TRUE(AvatarChangeMenu({}, ObjectTable(), entries).empty());
}

TEST(AvatarChange, DefaultFirstThenTheChoiceThenThePosition) {
  World w{"me"};
  w.OwnAvatar("avatar\\me.mov");
  w.relay.to_server.clear();
  w.exchange.ChangeAvatar("avatar\\new.mov");
  ASSERT_EQ(w.relay.to_server.size(), 3u);
  EXPECT_EQ(w.relay.to_server[0], BuildOwnAvatar("avatar\\Vavar.uza"));
  EXPECT_EQ(w.relay.to_server[1], BuildOwnAvatar("avatar\\new.mov"));
  EXPECT_EQ(w.relay.to_server[2], w.core.movement().OwnRoomPosition(0, 0));
  EXPECT_EQ(w.core.state().current_avatar, "avatar\\new.mov");
}

TEST(AvatarChange, AFrozenGhostKeepsThePositionToItself) {
  World w{"me"};
  w.OwnAvatar("avatar\\me.mov");
  w.core.ToggleGhost(true);
  ASSERT_TRUE(w.core.movement().ghost().frozen);
  w.relay.to_server.clear();
  w.exchange.ChangeAvatar("avatar\\new.mov");
  ASSERT_EQ(w.relay.to_server.size(), 2u);
  EXPECT_EQ(w.core.movement().ghost().avatar, "avatar\\new.mov");
}

TEST(AvatarChange, MenuCommandsChooseFromTheLastMenuShown) {
  World w{"me"};
  FakeProfile host;
  host.Set("CHG", "MYAVATAR1", "reg");
  w.files.Put("C:\\host\\avatar\\reg.cmp", "");
  w.exchange.SetHostIni(&host, "CHG");
  w.OwnAvatar("avatar\\me.mov");
  w.Person(4, "bob", "avatar\\bob.mov", 0);
  Menu menu = w.exchange.ChangeMenu(false);
  ASSERT_EQ(menu.size(), 4u);  // registered, me, separator, bob
  w.relay.to_server.clear();
  EXPECT_TRUE(w.exchange.OnMenuCommand(0x204));
  EXPECT_EQ(w.core.state().current_avatar, "avatar\\bob.mov");
  EXPECT_TRUE(w.exchange.OnMenuCommand(0x220));
  EXPECT_EQ(w.core.state().current_avatar, "avatar\\reg.mov");
  const size_t sent = w.relay.to_server.size();
  EXPECT_TRUE(w.exchange.OnMenuCommand(0x221));  // no such registration
  EXPECT_TRUE(w.exchange.OnMenuCommand(0x20C));  // no such object
  EXPECT_EQ(w.relay.to_server.size(), sent);
  EXPECT_FALSE(w.exchange.OnMenuCommand(0x200));
  EXPECT_FALSE(w.exchange.OnMenuCommand(0x320));
}

}  // namespace
}  // namespace tellu::avatar_test
