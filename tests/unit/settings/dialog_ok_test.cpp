#include "settings/dialog_ok.h"

#include <gtest/gtest.h>

#include "platform/fake_profile.h"
#include "settings/startup.h"

namespace tellu {
namespace {

using Keys = std::vector<std::string>;

const Keys kFlagKeys = {"WHISPERSW",       "WHISPERMSG",  "PositionSaveFlag",
                        "AvaReqRefuseFlag", "AvaReqRefuseMsg", "MostTopChk",
                        "ImeAutoOnChk",    "LogChk"};

Keys Plus(Keys keys, const Keys& more) {
  keys.insert(keys.end(), more.begin(), more.end());
  return keys;
}

class DialogOkTest : public ::testing::Test {
 protected:
  FakeProfile profile;
  SettingsStore store{profile, "SYS1"};
  int redraws = 0;
  void SetUp() override {
    store.settings().font_face = "Face";
    store.settings().font_tenths = 90;
    store.settings().log_name = "C:\\old\\te";
    store.SetMuteListSaved([this] { ++redraws; });
  }
};

TEST_F(DialogOkTest, UnchangedFontAndNoFolderWriteFlagsThenMuteList) {
  DialogSettings d = DialogCopy(store.settings());
  d.whisper_sw = 1;
  d.whisper_msg = "away";
  d.greeting = {true, "bob", "hi"};
  DialogOkResult r = ApplySettingsDialog(store, d);
  EXPECT_FALSE(r.font_changed);
  EXPECT_EQ(profile.WrittenKeys(), Plus(kFlagKeys, {"MuteList"}));
  EXPECT_EQ(profile.Get("SYS1", "WHISPERSW"), "1");
  EXPECT_EQ(profile.Get("SYS1", "WHISPERMSG"), "away");
  EXPECT_EQ(store.settings().whisper_msg, "away");
  EXPECT_EQ(store.settings().log_name, "C:\\old\\te");
  // The greeting is taken over for the run but never written.
  EXPECT_TRUE(store.settings().greeting.enabled);
  EXPECT_EQ(store.settings().greeting.partner, "bob");
  EXPECT_EQ(redraws, 1);
}

TEST_F(DialogOkTest, ChangedFontAndChosenFolderAreWrittenBeforeMuteList) {
  DialogSettings d = DialogCopy(store.settings());
  d.font_tenths = 105;
  d.log_folder = "D:\\logs\\te";
  d.mute_list = {"a", "b"};
  DialogOkResult r = ApplySettingsDialog(store, d);
  EXPECT_TRUE(r.font_changed);
  EXPECT_EQ(profile.WrittenKeys(),
            Plus(kFlagKeys, {"FontSize", "FontSort", "LogName", "MuteList"}));
  EXPECT_EQ(profile.Get("SYS1", "FontSize"), "10.5");
  EXPECT_EQ(profile.Get("SYS1", "FontSort"), "Face");
  EXPECT_EQ(profile.Get("SYS1", "LogName"), "D:\\logs\\te");
  EXPECT_EQ(profile.Get("SYS1", "MuteList"), "a,b");
  EXPECT_EQ(store.settings().font_tenths, 105);

  // The next start uses 105 tenths.
  SettingsStore next(profile, "SYS1");
  ReadAttachSettings(next);
  EXPECT_EQ(next.settings().font_tenths, 105);
}

TEST_F(DialogOkTest, FaceChangeAloneWritesTheFont) {
  DialogSettings d = DialogCopy(store.settings());
  d.font_face = "Other";
  EXPECT_TRUE(ApplySettingsDialog(store, d).font_changed);
  EXPECT_EQ(profile.Get("SYS1", "FontSize"), " 9.0");
  EXPECT_EQ(profile.Get("SYS1", "FontSort"), "Other");
}

TEST_F(DialogOkTest, MuteListIsReplacedWithoutUnstorableHandles) {
  store.settings().mute_list = {"old"};
  DialogSettings d = DialogCopy(store.settings());
  d.mute_list = {"a", "x,y", "b"};
  DialogOkResult r = ApplySettingsDialog(store, d);
  EXPECT_EQ(r.refused_handles, Keys{"x,y"});
  EXPECT_EQ(profile.Get("SYS1", "MuteList"), "a,b");
  EXPECT_EQ(store.settings().mute_list, (Keys{"a", "b"}));
}

TEST(TwoSlots, EachSlotKeepsItsOwnSettings) {
  FakeProfile profile;
  profile.Set("SYS1", "WHISPERSW", "1");
  profile.Set("SYS1", "MuteList", "one");
  SettingsStore slot2(profile, "SYS2");
  DialogSettings d = DialogCopy(slot2.settings());
  d.whisper_sw = 0;
  d.mute_list = {"two"};
  ApplySettingsDialog(slot2, d);
  slot2.WritePoint("Position_RV", 1, 2);
  for (const auto& w : profile.writes) EXPECT_EQ(w.section, "SYS2") << w.key;
  EXPECT_EQ(profile.Get("SYS1", "WHISPERSW"), "1");
  EXPECT_EQ(profile.Get("SYS1", "Position_RV"), "<none>");

  SettingsStore slot1(profile, "SYS1");
  ReadLaunchSettings(slot1, "t.exe");
  slot1.LoadMuteList();
  EXPECT_EQ(slot1.settings().whisper_sw, 1);
  EXPECT_EQ(slot1.settings().mute_list, Keys{"one"});
  EXPECT_EQ(slot1.ReadPoint("Position_RV"), (Pair{0, 0}));
  EXPECT_EQ(slot2.ReadPoint("Position_RV"), (Pair{1, 2}));
}

}  // namespace
}  // namespace tellu
