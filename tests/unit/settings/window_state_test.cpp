#include "settings/window_state.h"

#include <gtest/gtest.h>

#include "platform/fake_profile.h"

namespace tellu {
namespace {

using Access = FakeProfile::Access;

class WindowStateTest : public ::testing::Test {
 protected:
  FakeProfile profile;
  SettingsStore store{profile, "SYS3"};
  WindowRects state;
  void SetUp() override {
    state.host = WindowRect{100, 50, 740, 530};
    state.bar = WindowRect{109, 494, 509, 534};
  }
};

TEST_F(WindowStateTest, AllWindowsOpenWritesEverythingInOrder) {
  state.log_window = WindowRect{600, 10, 900, 410};
  state.log_window_real = -1;
  state.who_window_flag = true;
  state.who_window = WindowRect{5, 6, 105, 206};
  SaveWindowState(store, state);
  EXPECT_EQ(profile.writes, (std::vector<Access>{
                                {"SYS3", "Position_RV", "100,50"},
                                {"SYS3", "PositionTelluWindow", "109,494"},
                                {"SYS3", "SizeTelluWindow", "400,40"},
                                {"SYS3", "LogWindowFlag", "1"},
                                {"SYS3", "PositionLogWindow", "600,10"},
                                {"SYS3", "SizeLogWindow", "300,400"},
                                {"SYS3", "LogWindowReal", "-1"},
                                {"SYS3", "WhoWindowFlag", "1"},
                                {"SYS3", "PositionWhoWindow", "5,6"},
                            }));
  EXPECT_TRUE(profile.reads.empty());
}

TEST_F(WindowStateTest, ClosedLogWindowWritesFlagZeroAndLeavesItsKeys) {
  profile.Set("SYS3", "PositionLogWindow", "1,2");
  profile.Set("SYS3", "SizeLogWindow", "3,4");
  profile.Set("SYS3", "LogWindowReal", "1");
  store.settings().position_log_window = {1, 2};
  SaveWindowState(store, state);
  EXPECT_EQ(profile.WrittenKeys(),
            (std::vector<std::string>{"Position_RV", "PositionTelluWindow", "SizeTelluWindow",
                                      "LogWindowFlag", "WhoWindowFlag"}));
  EXPECT_EQ(profile.Get("SYS3", "LogWindowFlag"), "0");
  EXPECT_EQ(profile.Get("SYS3", "WhoWindowFlag"), "0");
  EXPECT_EQ(profile.Get("SYS3", "PositionLogWindow"), "1,2");
  EXPECT_EQ(profile.Get("SYS3", "SizeLogWindow"), "3,4");
  EXPECT_EQ(profile.Get("SYS3", "LogWindowReal"), "1");
  EXPECT_EQ(store.settings().position_log_window, (Pair{1, 2}));
}

TEST_F(WindowStateTest, ValuesAreKeptForARestoreInTheSameRun) {
  state.log_window = WindowRect{600, 10, 900, 410};
  SaveWindowState(store, state);
  const Settings& s = store.settings();
  EXPECT_EQ(s.position_rv, (Pair{100, 50}));
  EXPECT_EQ(s.position_tellu_window, (Pair{109, 494}));
  EXPECT_EQ(s.size_tellu_window, (Pair{400, 40}));
  EXPECT_EQ(s.log_window_flag, 1);
  EXPECT_EQ(s.size_log_window, (Pair{300, 400}));
}

TEST_F(WindowStateTest, UnreadableHostRectangleKeepsTheSavedHostPosition) {
  profile.Set("SYS3", "Position_RV", "7,8");
  state.host.reset();
  SaveWindowState(store, state);
  EXPECT_EQ(profile.Get("SYS3", "Position_RV"), "7,8");
  EXPECT_EQ(profile.WrittenKeys().front(), "PositionTelluWindow");
}

}  // namespace
}  // namespace tellu
