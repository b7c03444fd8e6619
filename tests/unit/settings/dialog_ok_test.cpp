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

// A flag the program takes as on for any non-zero value is ticked for any
// such value, so OK with nothing touched leaves the feature on.  The others
// are on at 1 only.
TEST_F(DialogOkTest, AnOkWithNothingTouchedSwitchesNothingOff) {
  struct Case {
    int Settings::*flag;
    int DialogSettings::*box;
    int value;
    int shown;
  } cases[] = {
      {&Settings::whisper_sw, &DialogSettings::whisper_sw, 2, 1},
      {&Settings::whisper_sw, &DialogSettings::whisper_sw, -1, 1},
      {&Settings::ava_req_refuse_flag, &DialogSettings::ava_req_refuse_flag, 7, 1},
      {&Settings::most_top_chk, &DialogSettings::most_top_chk, 2, 1},
      {&Settings::ime_auto_on_chk, &DialogSettings::ime_auto_on_chk, 3, 1},
      {&Settings::ime_auto_on_chk, &DialogSettings::ime_auto_on_chk, 0, 0},
      {&Settings::log_chk, &DialogSettings::log_chk, 2, 2},
      {&Settings::position_save_flag, &DialogSettings::position_save_flag, 2, 2},
  };
  for (const Case& c : cases) {
    Settings s;
    s.*c.flag = c.value;
    const DialogSettings d = DialogCopy(s);
    EXPECT_EQ(d.*c.box, c.shown) << c.value;
    store.settings() = s;
    ApplySettingsDialog(store, d);
    EXPECT_EQ(store.settings().*c.flag != 0, c.value != 0) << c.value;
  }
}

// OK applies the dialog's additions and deletions to the list as it is then:
// a mute made meanwhile survives, one undone meanwhile stays undone.
TEST_F(DialogOkTest, MutesMadeWhileTheDialogIsOpenSurviveOk) {
  struct Case {
    Keys opened, box, now, merged;
  } cases[] = {
      {{"b", "a"}, {"a", "b"}, {"b", "a"}, {"a", "b"}},            // nothing happened
      {{"a"}, {"a"}, {"a", "z"}, {"a", "z"}},                      // muted meanwhile
      {{"a", "b"}, {"a", "c"}, {"a", "b", "z"}, {"a", "c", "z"}},  // both at once
      {{"a", "b"}, {"a", "b"}, {"b"}, {"b"}},                      // unmuted meanwhile
      {{"a"}, {"a", "z"}, {"a", "z"}, {"a", "z"}},                 // the same on both sides
      {{"a", "a"}, {"a"}, {"a", "a", "a"}, {"a", "a"}},            // one of three deleted
  };
  for (const Case& c : cases) EXPECT_EQ(MergedMuteList(c.opened, c.box, c.now), c.merged);

  store.settings().mute_list = {"b"};
  DialogSettings d = DialogCopy(store.settings());
  d.mute_list = {"a", "b"};
  store.Mute("auto");
  ApplySettingsDialog(store, d);
  EXPECT_EQ(profile.Get("SYS1", "MuteList"), "a,b,auto");
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
