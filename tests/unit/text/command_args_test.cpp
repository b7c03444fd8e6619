// A parameter string split as a Windows command line is.
#include <gtest/gtest.h>

#include "text/command_args.h"

namespace tellu {
namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLine, AsCommandLineToArgvW) {
  const struct {
    const char* params;
    Args args;
  } cases[] = {
      {"", {}},
      {" \t ", {}},
      {"a b\tc", {"a", "b", "c"}},
      {"  a   b  ", {"a", "b"}},
      // Quotes group and go.
      {"\"C:\\Program Files (x86)\\RVK3\\RVK3.EXE\" -x",
       {"C:\\Program Files (x86)\\RVK3\\RVK3.EXE", "-x"}},
      {"a\"b c\"d", {"ab cd"}},
      {"\"unclosed quote", {"unclosed quote"}},
      {"\"\"", {""}},
      {"a \"\" b", {"a", "", "b"}},
      // Backslashes count only before a quote.
      {"C:\\dir\\ x\\\\y", {"C:\\dir\\", "x\\\\y"}},
      {"a\\\"b", {"a\"b"}},
      {"a\\\\\"b c\"", {"a\\b c"}},
      {"a\\\\\\\"b", {"a\\\"b"}},
      {"\"a\\\\\" b", {"a\\", "b"}},
      // A quote right after a closing one is literal, and ends the quotes.
      {"\"a\"\"b c\"", {"a\"b", "c"}},
      {"\"\"\"", {"\""}},
      // 表 is 95 5C: its second byte is no backslash before a quote.
      {"\x95\x5C\"a b\"", {"\x95\x5C" "a b"}},
      {"\"\x95\x5C\" x", {"\x95\x5C", "x"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.params), c.args) << c.params;
}

}  // namespace
}  // namespace tellu
