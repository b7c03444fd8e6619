#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tellu
