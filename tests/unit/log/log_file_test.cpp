#include "log/log_file.h"

#include <gtest/gtest.h>

#include "platform/fake_files.h"
#include "platform/fake_timers.h"

namespace tellu {
namespace {

class LogFileTest : public ::testing::Test {
 protected:
  LogFileTest() { timers.SetNow({2002, 2, 3, 9, 8, 7}); }
  FakeFiles files;
  FakeTimers timers;
  int log_chk = 0;  // where the settings keep the switch
  int open_failures = 0;
  LogFile log{files, timers, log_chk, [this] {
                log_chk = 0;
                ++open_failures;
              }};
};

TEST_F(LogFileTest, PathIsTheNameFollowedByTheStartDate) {
  log.Prepare("C:\\logs\\");
  EXPECT_EQ(log.path(), "C:\\logs\\020203.txt");
  // The day is fixed at start-up, not when the first line is written.
  timers.SetNow({2002, 2, 4, 0, 0, 1});
  log_chk = 1;
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
  log_chk = 1;
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
  log_chk = 1;
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
  log_chk = 1;
  log.WriteLine("<a>", "b");
  EXPECT_EQ(files.Get("C:\\logs\\020203.txt").rfind("earlier\r\n++++++++ Start", 0), 0u);
}

TEST_F(LogFileTest, NothingIsWrittenWhileTheSwitchIsNotOne) {
  log.Prepare("C:\\logs\\");
  for (int value : {0, 2, -1}) {
    log_chk = value;
    log.WriteLine("<a>", "b");
  }
  log.Close();
  EXPECT_FALSE(files.Exists("C:\\logs\\020203.txt"));
}

TEST_F(LogFileTest, SwitchingOffKeepsTheFileAndTheEndBanner) {
  log.Prepare("L");
  log_chk = 1;
  log.WriteLine("<a>", "1");
  log_chk = 0;
  log.WriteLine("<a>", "2");
  log_chk = 1;
  log.WriteLine("<a>", "3");
  log_chk = 0;
  log.Close();
  EXPECT_EQ(files.Get("L020203.txt"),
            "++++++++ Start 2002/02/03 09:08:07 ++++++++\r\n<a> 1\r\n<a> 3\r\n"
            "++++++++ End   2002/02/03 09:08:07 ++++++++\r\n");
}

TEST_F(LogFileTest, OpenFailureIsToldAndWritesNothing) {
  log.Prepare("C:\\logs\\");
  files.unopenable.insert("C:\\logs\\020203.txt");
  log_chk = 1;
  log.WriteLine("<a>", "b");
  EXPECT_EQ(open_failures, 1);
  EXPECT_EQ(log_chk, 0);
  EXPECT_FALSE(log.is_open());
  // The run goes on without a log, and there is no end banner to write.
  files.unopenable.clear();
  log.WriteLine("<a>", "c");
  log.Close();
  EXPECT_FALSE(files.Exists("C:\\logs\\020203.txt"));
}

// What the settings dialog's OK does to the file, from a file open at
// C:\a\020203.txt with one line in it.
TEST_F(LogFileTest, FollowingTheSettingsClosesOrMovesTheFile) {
  const std::string start = "++++++++ Start 2002/02/03 09:08:07 ++++++++\r\n";
  const std::string end = "++++++++ End   2002/02/03 09:08:07 ++++++++\r\n";
  struct Case {
    const char* what;
    int log_chk;
    const char* log_name;
    std::string old_file;  // after the next line
    std::string new_file;  // "-": none
  } cases[] = {
      {"unchanged", 1, "C:\\a\\", start + "<a> 1\r\n<a> 2\r\n", "-"},
      {"switched off", 0, "C:\\a\\", start + "<a> 1\r\n" + end, "-"},
      {"moved", 1, "D:\\b\\", start + "<a> 1\r\n" + end, start + "<a> 2\r\n"},
      {"moved and off", 0, "D:\\b\\", start + "<a> 1\r\n" + end, "-"},
  };
  for (const Case& c : cases) {
    files = FakeFiles();
    log_chk = 1;
    log.Prepare("C:\\a\\");
    log.WriteLine("<a>", "1");
    log_chk = c.log_chk;
    log.Follow(c.log_name);
    EXPECT_EQ(log.is_open(), c.what == std::string("unchanged")) << c.what;
    log.WriteLine("<a>", "2");
    EXPECT_EQ(files.Get("C:\\a\\020203.txt"), c.old_file) << c.what;
    const std::string moved = files.Exists("D:\\b\\020203.txt") ? files.Get("D:\\b\\020203.txt") : "-";
    EXPECT_EQ(moved, c.new_file) << c.what;
    log.Close();
  }
  // Switched on again: the same day's file goes on with a new start banner.
  log_chk = 1;
  log.Follow("D:\\b\\");
  log.WriteLine("<a>", "3");
  EXPECT_EQ(files.Get("D:\\b\\020203.txt"), start + "<a> 3\r\n");
}

TEST_F(LogFileTest, LineFeedsInsideTextBecomeCrLf) {
  log.Prepare("L");
  log_chk = 1;
  log.WriteLine("<a>", "x\ny");
  EXPECT_NE(files.Get("L020203.txt").find("<a> x\r\ny\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tellu
