#include <gtest/gtest.h>

#include <algorithm>

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

// A handle the list could not give back, or one past what the file holds,
// mutes for the run only; everything stored reads back as it was muted.
TEST_F(MuteListTest, MutesTheListCannotHoldAreForTheRunOnly) {
  const std::string near_full(kMaxStoredText - 2, 'n');  // "a," before it
  struct Case {
    std::string handle;
    MuteChange want;
  } cases[] = {
      {near_full, MuteChange::Muted},
      {"x", MuteChange::MutedForTheRun},  // one byte and "," past 4095
      {"\"q\"", MuteChange::MutedForTheRun},
      {"'q'", MuteChange::MutedForTheRun},
      {"\"q'", MuteChange::MutedForTheRun},  // room is gone: even a good one
  };
  store.AddMute("a");
  for (const Case& c : cases) EXPECT_EQ(store.Mute(c.handle), c.want) << c.handle.substr(0, 8);
  EXPECT_EQ(Stored().size(), kMaxStoredText);
  store.LoadMuteList();
  EXPECT_EQ(store.settings().mute_list, (List{"a", near_full}));
  EXPECT_TRUE(store.IsMuted("'q'"));

  // Quotes that are no pair around the handle are stored.
  FakeProfile other;
  SettingsStore fresh(other, "SYS1");
  for (const std::string h : {"\"q", "q'", "\"q'", "'"})
    EXPECT_EQ(fresh.Mute(h), MuteChange::Muted) << h;
  EXPECT_EQ(fresh.Mute("\"\""), MuteChange::MutedForTheRun);
  EXPECT_TRUE(SettingsStore::ListReadsBack(fresh.settings().mute_list));
}

// Only the ends of the whole value are trimmed on reading: an item with a
// blank at its own end inside the list is kept, and written back as it was;
// one that would come to stand at an end is moved inside.
TEST_F(MuteListTest, ItemsWithInnerBlanksAreKeptByteForByte) {
  struct Case {
    const char* stored;
    List replaced_by;
    const char* written;
  } cases[] = {
      {"a, b ,c", {"a", " b ", "c"}, "a, b ,c"},
      {"a, b", {" b", "a"}, "a, b"},       // sorted first, moved second
      {"a ,b", {"b", "a "}, "a ,b"},        // sorted last, moved first
      {"a,'q',b", {"'q'", "a", "b"}, "a,'q',b"},
  };
  for (const Case& c : cases) {
    profile.Set("SYS1", "MuteList", c.stored);
    store.LoadMuteList();
    EXPECT_TRUE(store.ReplaceMuteList(c.replaced_by).empty()) << c.stored;
    EXPECT_EQ(Stored(), c.written) << c.stored;
    List sorted = c.replaced_by, read;
    store.LoadMuteList();
    read = store.settings().mute_list;
    std::sort(sorted.begin(), sorted.end());
    std::sort(read.begin(), read.end());
    EXPECT_EQ(read, sorted) << c.stored;
  }
  // Alone, such an item cannot be stored: it is muted for the run.
  EXPECT_EQ(store.ReplaceMuteList({" b"}), List{" b"});
  EXPECT_EQ(Stored(), "");
  EXPECT_TRUE(store.IsMuted(" b"));
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
