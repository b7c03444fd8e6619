#include "log/log_file.h"

#include <gtest/gtest.h>

#include "platform/fake_files.h"
#include "platform/fake_profile.h"
#include "platform/fake_timers.h"

namespace tellu {
namespace {

class LogFileTest : public ::testing::Test {
 protected:
  LogFileTest() { timers.SetNow({2002, 2, 3, 9, 8, 7}); }
  FakeFiles files;
  FakeTimers timers;
  FakeProfile profile;
  LogFile log{files, timers, profile, "SYS1"};
};

TEST_F(LogFileTest, PathIsTheNameFollowedByTheStartDate) {
  log.Prepare("C:\\logs\\");
  EXPECT_EQ(log.path(), "C:\\logs\\020203.txt");
  EXPECT_TRUE(profile.writes.empty());
  // The day is fixed at start-up, not when the first line is written.
  timers.SetNow({2002, 2, 4, 0, 0, 1});
  log.set_switch(1);
  log.WriteLine("<a>", "b");
  EXPECT_TRUE(files.Exists("C:\\logs\\020203.txt"));
  EXPECT_EQ(LogFilePath("x", {2010, 12, 31}), "x101231.txt");
}

TEST_F(LogFileTest, NameAndEdgeCaseDateFormDayFileName) {
  log.Prepare("C:\\Tellu\\TE");
  EXPECT_EQ(log.path(), "C:\\Tellu\\TE020203.txt");
}

TEST(LogNameDefault, HelpPathReplacesOnlyTheFileNamesExtension) {
  EXPECT_EQ(HelpFilePath("C:\\Tellu\\TELLU.EXE"), "C:\\Tellu\\TELLU.HLP");
  EXPECT_EQ(HelpFilePath("C:\\a.b\\tellu"), "C:\\a.b\\tellu.HLP");
  EXPECT_EQ(HelpFilePath("/usr/bin/tellu-cli"), "/usr/bin/tellu-cli.HLP");
}

TEST_F(LogFileTest, TwoLinesGetOneStartBannerAndTheEndBannerAtClose) {
  log.Prepare("C:\\logs\\");
  log.set_switch(1);
  log.WriteLine("<Taro>", "hello");
  timers.SetNow({2002, 2, 3, 9, 9, 0});
  log.WriteLine("{Hana -> Taro}", "a>b");
  timers.SetNow({2002, 2, 3, 10, 0, 5});
  log.Close();
  EXPECT_EQ(files.Get("C:\\logs\\020203.txt"),
            "++++++++ Start 2002/02/03 09:08:07 ++++++++\r\n"
            "<Taro> hello\r\n"
            "{Hana -> Taro} a>b\r\n"
            "++++++++ End   2002/02/03 10:00:05 ++++++++\r\n");
}

// One flush for the lines of a loop round, one for the end banner.
TEST_F(LogFileTest, LinesAreFlushedOncePerRoundAndAtClose) {
  log.Prepare("C:\\logs\\");
  log.set_switch(1);
  log.WriteLine("<a>", "one");
  log.WriteLine("<b>", "two");
  EXPECT_EQ(files.flushes, 0);
  timers.Advance(0);
  EXPECT_EQ(files.flushes, 1);
  timers.Advance(0);
  EXPECT_EQ(files.flushes, 1);
  log.WriteLine("<c>", "three");
  log.Close();
  EXPECT_EQ(files.flushes, 2);
  timers.Advance(0);
  EXPECT_EQ(files.flushes, 2);
}

TEST_F(LogFileTest, AppendsToTheDaysFile) {
  files.Put("C:\\logs\\020203.txt", "earlier\r\n");
  log.Prepare("C:\\logs\\");
  log.set_switch(1);
  log.WriteLine("<a>", "b");
  EXPECT_EQ(files.Get("C:\\logs\\020203.txt").rfind("earlier\r\n++++++++ Start", 0), 0u);
}

TEST_F(LogFileTest, NothingIsWrittenWhileTheSwitchIsNotOne) {
  log.Prepare("C:\\logs\\");
  for (int value : {0, 2, -1}) {
    log.set_switch(value);
    log.WriteLine("<a>", "b");
  }
  log.Close();
  EXPECT_FALSE(files.Exists("C:\\logs\\020203.txt"));
}

TEST_F(LogFileTest, SwitchingOffKeepsTheFileAndTheEndBanner) {
  log.Prepare("L");
  log.set_switch(1);
  log.WriteLine("<a>", "1");
  log.set_switch(0);
  log.WriteLine("<a>", "2");
  log.set_switch(1);
  log.WriteLine("<a>", "3");
  log.set_switch(0);
  log.Close();
  EXPECT_EQ(files.Get("L020203.txt"),
            "++++++++ Start 2002/02/03 09:08:07 ++++++++\r\n<a> 1\r\n<a> 3\r\n"
            "++++++++ End   2002/02/03 09:08:07 ++++++++\r\n");
}

TEST_F(LogFileTest, OpenFailureTurnsLoggingOffAndClearsTheName) {
  log.Prepare("C:\\logs\\");
  files.unopenable.insert("C:\\logs\\020203.txt");
  log.set_switch(1);
  log.WriteLine("<a>", "b");
  EXPECT_EQ(log.log_switch(), 0);
  EXPECT_FALSE(log.is_open());
  EXPECT_EQ(profile.Get("SYS1", "LogName"), "");
  // The run goes on without a log, and there is no end banner to write.
  files.unopenable.clear();
  log.WriteLine("<a>", "c");
  log.Close();
  EXPECT_FALSE(files.Exists("C:\\logs\\020203.txt"));
}

TEST_F(LogFileTest, LineFeedsInsideTextBecomeCrLf) {
  log.Prepare("L");
  log.set_switch(1);
  log.WriteLine("<a>", "x\ny");
  EXPECT_NE(files.Get("L020203.txt").find("<a> x\r\ny\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tellu
