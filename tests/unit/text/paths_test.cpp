#include "text/paths.h"

#include <gtest/gtest.h>

#include <string>

namespace tellu {
namespace {

TEST(FileNameStart, AfterTheLastSeparatorThatIsACharacterOfItsOwn) {
  const struct {
    std::string path;
    std::size_t start;
  } cases[] = {
      {"", 0},
      {"tellu.exe", 0},
      {"C:\\Tellu\\tellu.exe", 9},
      {"C:tellu.exe", 2},
      {"/opt/tellu/tellu", 11},
      {"a\\b/c", 4},
      {"dir\\", 4},
      // 95 5C is one character: its 5C is no separator.
      {"C:\\\x95\x5C.exe", 3},
      {"\x95\x5C\\x", 3},
  };
  for (const auto& c : cases) EXPECT_EQ(FileNameStart(c.path), c.start) << c.path;
}

}  // namespace
}  // namespace tellu
