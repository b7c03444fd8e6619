#include "log/find_address.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tellu {
namespace {

using Span = std::optional<AddressSpan>;
constexpr std::nullopt_t kNone = std::nullopt;

TEST(FindAddress, StateTable) {
  struct Case {
    std::string text;
    size_t from;
    Span want;
  } cases[] = {
      {"abc.def ghi", 0, AddressSpan{0, 7}},
      {"abc.def\x82\xa0", 0, AddressSpan{0, 7}},  // stops before a Japanese character
      {"go www.example.co.jp/a/b.html now", 0, AddressSpan{3, 26}},
      {"user@example.com", 0, AddressSpan{0, 16}},
      {"user@example.com/path", 0, kNone},  // a path only without "@"
      {"a@b@c.com", 0, kNone},              // second "@"
      {"ver2.5", 0, AddressSpan{0, 6}},
      {"letters", 0, kNone},
      {"abc.", 0, kNone},
      {"a..b", 0, kNone},
      {"abc.-x", 0, kNone},
      {"my-site.co-op.jp", 0, AddressSpan{0, 16}},
      {"http://Example.com/x?y=1&z", 0, AddressSpan{0, 26}},
      {"mailto:me@x.org", 0, AddressSpan{0, 15}},
      {"a.b/x@y", 0, kNone},                  // "@" in a path
      {"a_b.com fine.com", 0, AddressSpan{8, 8}},  // the junk run goes, the next word counts
      {"x.y_z", 0, kNone},
      {"see ab.cd!", 0, kNone},  // punctuation after a domain spoils it
      {"[x.y]", 0, AddressSpan{1, 3}},
      {"{x.y|", 0, AddressSpan{1, 3}},
      {"a.b\x01" "c", 0, AddressSpan{0, 3}},
      {"a.b\x81", 0, AddressSpan{0, 3}},  // a broken lead byte at the end
      {"\xb1www.a.jp", 0, AddressSpan{1, 8}},  // half-width kana is one byte
      {"a_\x83\x41" "b.c", 0, AddressSpan{4, 3}},  // a trail byte "A" starts nothing
      {"\x83\x41.b c", 0, kNone},
      {"a.b c.d", 1, AddressSpan{4, 3}},
      {"a.b c.d", 7, kNone},
      {"a.b", 9, kNone},
      {"", 0, kNone},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindAddress(c.text, c.from), c.want) << c.text << " from " << c.from;
  }
}

TEST(FindAddress, CharacterClasses) {
  std::string address_chars, alnums;
  for (int b = 0; b < 256; ++b) {
    if (IsAddressChar(static_cast<unsigned char>(b))) address_chars += static_cast<char>(b);
    if (IsAddressAlnum(static_cast<unsigned char>(b))) alnums += static_cast<char>(b);
  }
  EXPECT_EQ(address_chars.size(), 89u);  // the 94 printable bytes but [ ] { | }
  EXPECT_EQ(address_chars.find_first_of("[]{|} \x7f"), std::string::npos);
  EXPECT_EQ(alnums.size(), 62u);
}

// Nothing but a web page or a mail opens, whatever scheme the chat wrote.
TEST(FindAddress, AddressToOpen) {
  struct Case {
    const char* address;
    const char* open;
  } cases[] = {
      {"www.x.com", "http://www.x.com"},
      {"http://x.com/a", "http://x.com/a"},
      {"HtTpS://x.com/a?b", "HtTpS://x.com/a?b"},
      {"https://me@x.org", "https://me@x.org"},
      {"me@x.org", "mailto:me@x.org"},
      {"mailto:me@x.org", "mailto:me@x.org"},
      {"MAILTO:me@x.org", "MAILTO:me@x.org"},
      {"c://folder/program.exe", "http://c://folder/program.exe"},
      {"C:/folder/program.exe", "http://C:/folder/program.exe"},
      {"file:///C:/folder/program.exe", "http://file:///C:/folder/program.exe"},
      {"FILE://host/share/x.exe", "http://FILE://host/share/x.exe"},
      {"file:x.exe", "http://file:x.exe"},
      {"smb://host.lan/share", "http://smb://host.lan/share"},
      {"ftp://x.org", "http://ftp://x.org"},
      {"Ftp://x.org", "http://Ftp://x.org"},
      {"httpx://x.org", "http://httpx://x.org"},
      {"http:/x.org", "http://http:/x.org"},
      {"mailto:x.org", "http://mailto:x.org"},
      {"file://me@host.lan", "mailto:file://me@host.lan"},
  };
  for (const Case& c : cases) EXPECT_EQ(AddressToOpen(c.address), c.open) << c.address;
}

TEST(FindAddress, ClickedAddressAndWhatOpens) {
  struct Case {
    std::string text;
    size_t offset;
    std::optional<std::string> open;
  } cases[] = {
      {"see www.x.com now", 4, "http://www.x.com"},
      {"see www.x.com now", 10, "http://www.x.com"},
      {"see www.x.com now", 0, std::nullopt},
      {"see www.x.com now", 13, std::nullopt},  // the blank after it
      {"HTTP://x.com", 0, "HTTP://x.com"},
      {"hTtP://x.com/a", 5, "hTtP://x.com/a"},
      {"me@x.com", 3, "mailto:me@x.com"},
      {"MailTo:me@x.com", 0, "MailTo:me@x.com"},
      {"https://x.com/a?b", 0, "https://x.com/a?b"},
      {"ftp://x.org", 2, "http://ftp://x.org"},
      {"1ftp://x.org", 0, "http://1ftp://x.org"},
      {"https://me@x.org", 0, "https://me@x.org"},
      {"a.b c.d", 4, "http://c.d"},
      {"a.b c.d", 3, std::nullopt},
      {"a.b_c x.y", 0, std::nullopt},
      {"a.b_c x.y", 6, "http://x.y"},
      {"letters", 2, std::nullopt},
      {"run c://folder/program.exe now", 6, "http://c://folder/program.exe"},
      {"or file:///C:/x/y.exe", 5, "http://file:///C:/x/y.exe"},
  };
  for (const Case& c : cases) {
    std::optional<ClickedAddress> got = AddressAt(c.text, c.offset);
    ASSERT_EQ(got.has_value(), c.open.has_value()) << c.text << " at " << c.offset;
    if (got) {
      EXPECT_EQ(got->open, *c.open) << c.text << " at " << c.offset;
    }
  }
  std::optional<ClickedAddress> got = AddressAt("say ab.cd/x?y", 5);
  ASSERT_TRUE(got);
  EXPECT_EQ(got->address, "ab.cd/x?y");
}

}  // namespace
}  // namespace tellu
