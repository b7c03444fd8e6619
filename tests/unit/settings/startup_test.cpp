#include "settings/startup.h"

#include <gtest/gtest.h>

#include "platform/fake_profile.h"

namespace tellu {
namespace {

using Keys = std::vector<std::string>;

TEST(DefaultLogName, DropsExtensionAndLastThreeCharactersOfBaseName) {
  EXPECT_EQ(DefaultLogName("C:\\Tellu\\tellu.exe"), "C:\\Tellu\\te");
  EXPECT_EQ(DefaultLogName("C:\\Tellu\\tellu"), "C:\\Tellu\\te");
  EXPECT_EQ(DefaultLogName("C:\\v1.2\\tellu.exe"), "C:\\v1.2\\te");
  EXPECT_EQ(DefaultLogName("C:\\a.b\\tel.lu.exe"), "C:\\a.b\\tel");
}

TEST(DefaultLogName, ShortNamesNeverCutIntoTheFolder) {
  EXPECT_EQ(DefaultLogName("C:\\ab.exe"), "C:\\");
  EXPECT_EQ(DefaultLogName("C:\\abc.exe"), "C:\\");
  EXPECT_EQ(DefaultLogName("x.exe"), "");
  EXPECT_EQ(DefaultLogName(""), "");
}

TEST(DefaultLogName, CountsShiftJisCharactersWhole) {
  // Folder "表" (95 5C) holds a 5C trail byte; base "テルー" + "ab" is five characters.
  std::string folder = "C:\\\x95\x5c\\";
  EXPECT_EQ(DefaultLogName(folder + "\x83\x65\x83\x8b\x81\x5b" "ab.exe"), folder + "\x83\x65\x83\x8b");
  EXPECT_EQ(DefaultLogName(folder + "ab\x83\x65\x83\x8b\x81\x5b.exe"), folder + "ab");
  // A broken lead byte does not hide the "." after it.
  EXPECT_EQ(DefaultLogName(folder + "abcd\x83.exe"), folder + "ab");
}

class StartupTest : public ::testing::Test {
 protected:
  FakeProfile profile;
  SettingsStore store{profile, "SYS1"};
};

TEST_F(StartupTest, LaunchModeReadsEveryKeyInOrder) {
  ReadLaunchSettings(store, "C:\\Tellu\\tellu.exe");
  EXPECT_EQ(profile.ReadKeys(),
            (Keys{"WHISPERSW", "WHISPERMSG", "AvaReqRefuseFlag", "AvaReqRefuseMsg", "UnMute",
                  "LogChk", "LogName", "FontSort", "FontSize", "SearchTimer", "PositionWhoBtn",
                  "PositionSaveFlag", "Position_RV", "LogWindowFlag", "PositionLogWindow",
                  "SizeLogWindow", "PositionTelluWindow", "SizeTelluWindow",
                  "PositionWhoWindow", "WhoWindowFlag", "MostTopChk", "ImeAutoOnChk",
                  "WhisperFlash"}));
  for (const auto& r : profile.reads) EXPECT_EQ(r.section, "SYS1");
}

TEST_F(StartupTest, EmptyLogNameGetsTheDefaultWrittenBackAtOnce) {
  ReadLaunchSettings(store, "C:\\Tellu\\tellu.exe");
  EXPECT_EQ(store.settings().log_name, "C:\\Tellu\\te");
  ASSERT_EQ(profile.writes.size(), 1u);
  EXPECT_EQ(profile.writes[0], (FakeProfile::Access{"SYS1", "LogName", "C:\\Tellu\\te"}));
  profile.reads.clear();
  profile.writes.clear();
  ReadLaunchSettings(store, "C:\\Other\\other.exe");
  EXPECT_EQ(store.settings().log_name, "C:\\Tellu\\te");
  EXPECT_TRUE(profile.writes.empty());
}

TEST_F(StartupTest, LogFileFailureClearsLogNameSoTheNextStartComputesItAgain) {
  profile.Set("SYS1", "LogName", "Z:\\gone\\te");
  profile.Set("SYS1", "LogChk", "1");
  ReadLaunchSettings(store, "C:\\Tellu\\tellu.exe");
  store.ForgetLogName();
  EXPECT_EQ(store.settings().log_chk, 0);
  EXPECT_EQ(profile.Get("SYS1", "LogName"), "");
  SettingsStore next(profile, "SYS1");
  ReadLaunchSettings(next, "C:\\Tellu\\tellu.exe");
  EXPECT_EQ(next.settings().log_name, "C:\\Tellu\\te");
  EXPECT_EQ(next.settings().log_chk, 1);
}

TEST_F(StartupTest, LaunchModeTakesStoredValuesAndDefaults) {
  profile.Set("SYS1", "WHISPERMSG", "away");
  profile.Set("SYS1", "FontSize", " 9.0");
  profile.Set("SYS1", "Position_RV", "10,-20");
  ReadLaunchSettings(store, "t.exe");
  const Settings& s = store.settings();
  EXPECT_EQ(s.whisper_msg, "away");
  EXPECT_EQ(s.font_tenths, 90);
  EXPECT_EQ(s.font_face, kDefaultFontFace);
  EXPECT_EQ(s.position_rv, (Pair{10, -20}));
  EXPECT_EQ(s.search_timer, 25);
  EXPECT_EQ(s.ime_auto_on_chk, 1);
}

// WhisperFlash, which other copies neither read nor write, is on unless 0.
TEST_F(StartupTest, WhisperFlashIsOnUnlessStoredAsZero) {
  struct Row {
    const char* stored;  // null: no key
    int read;
  };
  for (const Row& row : {Row{nullptr, 1}, Row{"0", 0}, Row{"1", 1}, Row{"2", 2}, Row{"", 0}}) {
    SCOPED_TRACE(row.stored ? row.stored : "absent");
    FakeProfile file;
    if (row.stored) file.Set("SYS1", "WhisperFlash", row.stored);
    SettingsStore read(file, "SYS1");
    ReadLaunchSettings(read, "t.exe");
    EXPECT_EQ(read.settings().whisper_flash, row.read);
    for (const auto& w : file.writes) EXPECT_NE(w.key, "WhisperFlash");
  }
}

TEST_F(StartupTest, BarIsResizedOnlyWithSavedStateAndAWholeSize) {
  profile.Set("SYS1", "SizeTelluWindow", "300,40");
  EXPECT_FALSE(ReadLaunchSettings(store, "t.exe"));
  profile.Set("SYS1", "PositionSaveFlag", "1");
  EXPECT_TRUE(ReadLaunchSettings(store, "t.exe"));
  EXPECT_EQ(store.settings().size_tellu_window, (Pair{300, 40}));
  for (const char* size : {"0,0", "300,0", "0,40", "300", "-300,40"}) {
    profile.Set("SYS1", "SizeTelluWindow", size);
    EXPECT_FALSE(ReadLaunchSettings(store, "t.exe")) << size;
  }
}

TEST_F(StartupTest, AttachModeReadsOnlyFontAndSearchLimit) {
  profile.Set("SYS1", "WHISPERSW", "1");
  profile.Set("SYS1", "PositionSaveFlag", "1");
  profile.Set("SYS1", "FontSort", "Face");
  profile.Set("SYS1", "FontSize", "10.5");
  profile.Set("SYS1", "SearchTimer", "7");
  ReadAttachSettings(store);
  EXPECT_EQ(profile.ReadKeys(), (Keys{"FontSort", "FontSize", "SearchTimer"}));
  const Settings& s = store.settings();
  EXPECT_EQ(s.font_face, "Face");
  EXPECT_EQ(s.font_tenths, 105);
  EXPECT_EQ(s.search_timer, 7);
  EXPECT_EQ(s.whisper_sw, 0);
  EXPECT_EQ(s.position_save_flag, 0);
  EXPECT_TRUE(profile.writes.empty());
}

TEST_F(StartupTest, UnreadableFontSizeLeavesTheSystemSize) {
  profile.Set("SYS1", "FontSize", "big");
  ReadAttachSettings(store);
  EXPECT_EQ(store.settings().font_tenths, 0);
}

}  // namespace
}  // namespace tellu
