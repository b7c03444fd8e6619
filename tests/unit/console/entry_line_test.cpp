// Log entries as terminal lines: colours, hyperlinks and plain text.
#include "console/entry_line.h"

#include <gtest/gtest.h>

#include <string>

namespace tellu {
namespace {

constexpr char kBlue[] = "\x1b[34m";
constexpr char kRed[] = "\x1b[31m";
constexpr char kReset[] = "\x1b[0m";

std::string Link(const std::string& target, const std::string& shown) {
  return "\x1b[35m\x1b]8;;" + target + "\x1b\\" + shown + "\x1b]8;;\x1b\\" + kReset;
}

struct EntryCase {
  const char* prefix;
  const char* text;
  bool whisper;
  std::string coloured;
  std::string plain;
};

TEST(EntryLineTest, ColoursAndLinksOrThePlainTextOfBoth) {
  const std::string momo = std::string(kBlue) + "<Momo> " + kReset;
  const std::string whisper = std::string(kBlue) + "{Momo -> Demo} " + kReset;
  const EntryCase cases[] = {
      {"<Momo> ", "hi", false, momo + "hi", "<Momo> hi"},
      {"{Momo -> Demo} ", "psst", true, whisper + kRed + "psst" + kReset,
       "{Momo -> Demo} psst"},
      {"<Momo> ", "see www.example.com now", false,
       momo + "see " + Link("http://www.example.com", "www.example.com") + " now",
       "<Momo> see www.example.com now"},
      {"{Momo -> Demo} ", "mail a@b.jp", true,
       whisper + kRed + "mail " + kReset + Link("mailto:a@b.jp", "a@b.jp"),
       "{Momo -> Demo} mail a@b.jp"},
      {"<Momo> ", "https://x.org/p HTTP://y.jp", false,
       momo + Link("https://x.org/p", "https://x.org/p") + " " +
           Link("HTTP://y.jp", "HTTP://y.jp"),
       "<Momo> https://x.org/p HTTP://y.jp"},
      // A drive or the local disk links to a web page, never to itself.
      {"<Momo> ", "c://x/y.exe FILE:///C:/y.exe", false,
       momo + Link("http://c://x/y.exe", "c://x/y.exe") + " " +
           Link("http://FILE:///C:/y.exe", "FILE:///C:/y.exe"),
       "<Momo> c://x/y.exe FILE:///C:/y.exe"},
      // 表 (95 5C) around an address.
      {"<Momo> ", "\x95\x5Cwww.a.jp\x95\x5C", false,
       momo + "\xE8\xA1\xA8" + Link("http://www.a.jp", "www.a.jp") + "\xE8\xA1\xA8",
       "<Momo> \xE8\xA1\xA8www.a.jp\xE8\xA1\xA8"},
      // Escapes from the chat never reach the terminal, inside a link or not.
      {"<Momo> ", "a\x1b]8;;evil\x07z x.jp\x1b[2J", false,
       momo + "a?]8;;evil?z " + Link("http://x.jp", "x.jp") + "?[2J",
       "<Momo> a?]8;;evil?z x.jp?[2J"},
      {"<\x1b[31m> ", "", false, std::string(kBlue) + "<?[31m> " + kReset, "<?[31m> "},
  };
  for (const EntryCase& c : cases) {
    EXPECT_EQ(EntryLine(c.prefix, c.text, c.whisper, true), c.coloured) << c.text;
    EXPECT_EQ(EntryLine(c.prefix, c.text, c.whisper, false), c.plain) << c.text;
  }
}

}  // namespace
}  // namespace tellu
