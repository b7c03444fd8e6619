#include "log/log_window_model.h"

#include <gtest/gtest.h>

namespace tellu {
namespace {

class LogWindowTest : public ::testing::Test {
 protected:
  LogStore store;
  LogWindowModel window{store};
};

TEST_F(LogWindowTest, FullFillTakesEverythingInWhenRealTime) {
  store.Append("<a>", "one");
  store.TakePending();
  store.Append("{b -> me}", "two");
  EXPECT_EQ(window.FullFill(), "\n<a> one\n{b -> me} two");
  EXPECT_TRUE(store.pending().empty());
  EXPECT_EQ(store.shown().size(), 2u);
}

TEST_F(LogWindowTest, WhispersOnlyHidesPublicLinesButKeepsThem) {
  store.Append("<a>", "public");
  store.Append("{b -> me}", "secret");
  EXPECT_EQ(window.SetWhispersOnly(true), "\n{b -> me} secret");
  // Filtered entries were still taken in and come back with the filter off.
  EXPECT_TRUE(store.pending().empty());
  EXPECT_EQ(window.SetWhispersOnly(false), "\n<a> public\n{b -> me} secret");
}

TEST_F(LogWindowTest, UpdateColoursPrefixAndWhisperText) {
  window.FullFill();
  store.Append("<a>", "hi");
  store.Append("{b -> me}", "psst");
  LogUpdate update = window.Update();
  ASSERT_TRUE(update.ran);
  std::vector<LogSegment> expected = {{"\n<a> ", kLogPrefixColour},
                                      {"hi", kLogTextColour},
                                      {"\n{b -> me} ", kLogPrefixColour},
                                      {"psst", kLogWhisperColour}};
  EXPECT_EQ(update.segments, expected);
  EXPECT_TRUE(store.pending().empty());
  EXPECT_FALSE(window.Update().ran);  // nothing pending, caption unchanged
}

TEST_F(LogWindowTest, UpdateRespectsWhispersOnly) {
  window.SetWhispersOnly(true);
  store.Append("<a>", "hi");
  LogUpdate update = window.Update();
  EXPECT_TRUE(update.ran);
  EXPECT_TRUE(update.segments.empty());
  EXPECT_EQ(store.shown().size(), 1u);
}

TEST_F(LogWindowTest, FrozenCollectsThenRealCatchesUpInOneGo) {
  EXPECT_TRUE(window.wants_refresh());
  EXPECT_EQ(window.ButtonText(), "Freeze(&F)");
  EXPECT_EQ(window.Background(), kLogRealTimeBackground);
  EXPECT_TRUE(window.ToggleFreeze().segments.empty());
  EXPECT_FALSE(window.wants_refresh());
  EXPECT_EQ(window.ButtonText(), "Real(&R)");
  EXPECT_EQ(window.Background(), kLogFrozenBackground);

  store.Append("<a>", "1");
  // The first paint while frozen only refreshes the caption, once.
  LogUpdate first = window.Update();
  EXPECT_TRUE(first.ran);
  EXPECT_TRUE(first.segments.empty());
  EXPECT_EQ(window.update_state(), LogWindowModel::kFrozenPainted);
  store.Append("<a>", "2");
  EXPECT_FALSE(window.Update().ran);
  EXPECT_EQ(store.pending().size(), 2u);

  LogUpdate caught_up = window.ToggleFreeze();
  EXPECT_EQ(window.update_state(), LogWindowModel::kRealTime);
  ASSERT_EQ(caught_up.segments.size(), 4u);
  EXPECT_EQ(caught_up.segments[1].text, "1");
  EXPECT_EQ(caught_up.segments[3].text, "2");
  EXPECT_TRUE(store.pending().empty());
}

TEST_F(LogWindowTest, FrozenFullFillLeavesPendingAlone) {
  window.ToggleFreeze();
  store.Append("<a>", "1");
  EXPECT_EQ(window.FullFill(), "");
  EXPECT_EQ(store.pending().size(), 1u);
}

TEST_F(LogWindowTest, CaptionShowsTheFill) {
  EXPECT_EQ(window.Caption(), "LogDisplay (  0%)");
  for (int i = 0; i < 1100; ++i) store.Append("<a>", "x");
  EXPECT_EQ(window.Caption(), "LogDisplay (100%)");
}

}  // namespace
}  // namespace tellu
