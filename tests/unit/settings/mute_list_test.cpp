#include <gtest/gtest.h>

#include "platform/fake_profile.h"
#include "settings/settings_store.h"

namespace tellu {
namespace {

using List = std::vector<std::string>;

class MuteListTest : public ::testing::Test {
 protected:
  FakeProfile profile;
  SettingsStore store{profile, "SYS1"};
  int redraws = 0;
  void SetUp() override { store.SetMuteListSaved([this] { ++redraws; }); }
  std::string Stored() { return profile.Get("SYS1", "MuteList"); }
};

TEST_F(MuteListTest, LoadDropsEmptyItemsAndSaveJoinsThemBack) {
  profile.Set("SYS1", "MuteList", "a,,b,");
  store.settings().mute_list = {"stale"};
  store.LoadMuteList();
  EXPECT_EQ(store.settings().mute_list, (List{"a", "b"}));
  store.SaveMuteList();
  EXPECT_EQ(Stored(), "a,b");
  EXPECT_EQ(redraws, 1);
}

TEST_F(MuteListTest, MissingKeyGivesEmptyListAndEmptyListSavesEmptyValue) {
  store.LoadMuteList();
  EXPECT_TRUE(store.settings().mute_list.empty());
  store.SaveMuteList();
  EXPECT_EQ(Stored(), "");
}

TEST_F(MuteListTest, AddKeepsOrderAndDuplicates) {
  EXPECT_EQ(store.AddMute("b"), MuteChange::Muted);
  EXPECT_EQ(store.AddMute("a"), MuteChange::Muted);
  EXPECT_EQ(store.AddMute("b"), MuteChange::Muted);
  EXPECT_EQ(Stored(), "b,a,b");
  EXPECT_EQ(redraws, 3);
}

TEST_F(MuteListTest, ToggleRemovesOnlyTheFirstOccurrence) {
  profile.Set("SYS1", "MuteList", "b,a,b");
  store.LoadMuteList();
  EXPECT_EQ(store.ToggleMute("b"), MuteChange::Unmuted);
  EXPECT_EQ(Stored(), "a,b");
  EXPECT_EQ(store.ToggleMute("c"), MuteChange::Muted);
  EXPECT_EQ(Stored(), "a,b,c");
  EXPECT_TRUE(store.IsMuted("c"));
  EXPECT_FALSE(store.IsMuted("C"));  // byte for byte
}

TEST_F(MuteListTest, HandleThatWouldReadBackDifferentlyIsRefused) {
  store.AddMute("a");
  profile.writes.clear();
  for (const std::string bad : {"x,y", "", "x\r\ny", " x", "x\t"}) {
    EXPECT_EQ(store.AddMute(bad), MuteChange::Refused) << bad;
    EXPECT_EQ(store.ToggleMute(bad), MuteChange::Refused) << bad;
  }
  EXPECT_TRUE(profile.writes.empty());
  EXPECT_EQ(store.settings().mute_list, (List{"a"}));
  EXPECT_EQ(redraws, 1);
  // A blank inside a handle and Shift-JIS text are fine: "ソ" ends in byte 5C.
  EXPECT_EQ(store.AddMute("a b\x83\x5c"), MuteChange::Muted);
}

TEST_F(MuteListTest, AHandleTheListCannotStoreIsMutedForTheRunOnly) {
  store.AddMute("a");
  profile.writes.clear();
  const List bad{"x,y", "", "x\r\ny", " x", "x\t"};
  for (const std::string& handle : bad) {
    EXPECT_EQ(store.Mute(handle), MuteChange::MutedForTheRun) << handle;
    EXPECT_TRUE(store.IsMuted(handle)) << handle;
  }
  EXPECT_EQ(store.Mute("b"), MuteChange::Muted);
  EXPECT_EQ(store.run_mutes(), bad);
  EXPECT_EQ(store.settings().mute_list, (List{"a", "b"}));
  EXPECT_EQ(Stored(), "a,b");
  store.LoadMuteList();  // the next start knows only what was stored
  EXPECT_TRUE(store.IsMuted("x,y"));
  EXPECT_EQ(store.ToggleMute("x,y"), MuteChange::Unmuted);
  EXPECT_FALSE(store.IsMuted("x,y"));
  EXPECT_EQ(Stored(), "a,b");
  // A table of a few dozen at most: the oldest gives way.
  for (std::size_t i = 0; i < SettingsStore::kMaxRunMutes; ++i)
    store.Mute("," + std::to_string(i));
  EXPECT_EQ(store.run_mutes().size(), SettingsStore::kMaxRunMutes);
  EXPECT_FALSE(store.IsMuted(""));
  EXPECT_TRUE(store.IsMuted(",0"));
}

TEST_F(MuteListTest, ReplaceLeavesOutUnstorableHandlesSoFileMatchesMemory) {
  List refused = store.ReplaceMuteList({"b", "x,y", "a", ""});
  EXPECT_EQ(refused, (List{"x,y", ""}));
  EXPECT_EQ(store.settings().mute_list, (List{"b", "a"}));
  store.settings().mute_list.clear();
  store.LoadMuteList();
  EXPECT_EQ(store.settings().mute_list, (List{"b", "a"}));
}

}  // namespace
}  // namespace tellu
