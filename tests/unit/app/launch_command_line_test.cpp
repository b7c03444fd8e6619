// The slot named on the command line and the fatal report's text.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/fatal_report.h"

namespace tellu {
namespace {

TEST(CommandLineSlot, LastValidPairWins) {
  EXPECT_EQ(CommandLineSlot("S2 S5"), 5);
  EXPECT_EQ(CommandLineSlot("s3"), 3);
  EXPECT_EQ(CommandLineSlot("  S8  "), 8);
  EXPECT_EQ(CommandLineSlot("-x S1 other"), 1);
}

TEST(CommandLineSlot, AnSWithoutAValidDigitClearsTheChoice) {
  EXPECT_EQ(CommandLineSlot("s3 S9"), 0);
  EXPECT_EQ(CommandLineSlot("S4 S0"), 0);
  EXPECT_EQ(CommandLineSlot("S6 S"), 0);
  EXPECT_EQ(CommandLineSlot("S6 x S"), 0);
  EXPECT_EQ(CommandLineSlot(""), 0);
  // The letter after a clearing S is read afresh.
  EXPECT_EQ(CommandLineSlot("SS2"), 2);
}

TEST(CommandLineSlot, SecondByteOfADoubleByteCharacterIsNoLetter) {
  // サ is 83 54 and ジ is 83 57; "\x83S" puts an S where a trail byte stands.
  EXPECT_EQ(CommandLineSlot("S2 \x83S3"), 2);
  EXPECT_EQ(CommandLineSlot("S2 \x83S"), 2);
  // A lead byte at the very end swallows nothing.
  EXPECT_EQ(CommandLineSlot("S7\x83"), 7);
}

TEST(FatalReport, TextThenEveryHistoryLine) {
  StartupHistory history;
  history.Record("Start Tellu");
  history.Record("checking ini_file :", "C:\\WINDOWS\\RVK3.INI");
  EXPECT_EQ(FatalReport(kFatalLaunchFailed, history),
            "*** try to run RV/K but failed! ***\r\n[history]\r\nStart Tellu\r\n"
            "checking ini_file :C:\\WINDOWS\\RVK3.INI\r\n");
  EXPECT_EQ(FatalReport(kFatalHostNotFound, StartupHistory()),
            "*** let RV/K run but cann't find! ***\r\n[history]\r\n");
}

}  // namespace
}  // namespace tellu
