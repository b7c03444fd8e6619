#include <gtest/gtest.h>

#include "console/console_app.h"
#include "console/display_text.h"

namespace tellu {
namespace {

// Paths built from Windows-style values, as tellu-cli's messages show them.
TEST(PosixPathText, BackslashCharactersBecomeSlashes) {
  const struct {
    const char* sjis;
    const char* shown;
  } cases[] = {
      {"", ""},
      {"rvk3\\rvk3", "rvk3/rvk3"},
      {"/home/u/demo/windows\\RVK3.INI", "/home/u/demo/windows/RVK3.INI"},
      {"C:\\RVK\\", "C:/RVK/"},
      {"/already/posix", "/already/posix"},
      {"\x95\x5C\\a", "\xE8\xA1\xA8/a"},       // 表: its second byte is no separator
      {"d\\\x83\x5C\\", "d/\xE3\x82\xBD/"},    // ソ
      {"a\\\x1b]0;x\x07", "a/?]0;x?"},        // no escape reaches the terminal
  };
  for (const auto& c : cases) EXPECT_EQ(PosixPathText(c.sjis), c.shown) << c.sjis;
}

// The start-up lines name paths after their heads; only those are paths.
TEST(StartupText, ThePathsOfHistoryLinesAsTheSystemWritesThem) {
  const auto shown = [](const std::string& sjis) { return StartupText(sjis, PosixPathText); };
  EXPECT_EQ(shown("execute /d/rvk3\\rvk3"), "execute /d/rvk3/rvk3");
  EXPECT_EQ(shown("*** try to run RV/K but failed! ***\r\n[history]\r\nStart Tellu\r\n"
                  "checking tellu.ini :/w\\TELLU.INI\r\nreading ini_file :/w\\RVK3.INI\r\n"
                  "a\\b\x1b\r\n"),
            "*** try to run RV/K but failed! ***\n[history]\nStart Tellu\n"
            "checking tellu.ini :/w/TELLU.INI\nreading ini_file :/w/RVK3.INI\na\\b?\n");
  EXPECT_EQ(shown("execute "), "execute ");
  EXPECT_EQ(shown(""), "");
}

}  // namespace
}  // namespace tellu
