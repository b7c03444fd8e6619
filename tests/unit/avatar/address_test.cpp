// The handshake's byte rules: address scrambling, the local-network test, the
// file-name rule and the backslash search.
#include <gtest/gtest.h>

#include <string>

#include "avatar/address.h"
#include "text/sjis.h"

namespace tellu {
namespace {

TEST(AvatarAddress, TheDocumentedAddressReadsAsKatakana) {
  const std::string encoded = EncodeAddress("192.168.0.1");
  EXPECT_EQ(encoded, "\xB1\xB9\xB2\xAE\xB1\xB6\xB8\xAE\xB0\xAE\xB1");
  // ｱｹｲｮｱｶｸｮｰｮｱ
  EXPECT_EQ(encoded, text::Utf8ToSjis("\xEF\xBD\xB1\xEF\xBD\xB9\xEF\xBD\xB2\xEF\xBD\xAE\xEF\xBD\xB1"
                                      "\xEF\xBD\xB6\xEF\xBD\xB8\xEF\xBD\xAE\xEF\xBD\xB0\xEF\xBD\xAE"
                                      "\xEF\xBD\xB1"));
  EXPECT_EQ(DecodeAddress(encoded), "192.168.0.1");
}

TEST(AvatarAddress, EncodingFollowsItsByteTable) {
  struct Row {
    int from, to, delta;
  };
  const Row rows[] = {{0x00, 0x1F, 0x80},  {0x20, 0x20, 0},     {0x21, 0x39, 0x80},
                      {0x3A, 0x40, 0},     {0x41, 0x46, 0x79},  {0x47, 0x60, 0},
                      {0x61, 0x7A, -0x60}, {0x7B, 0x7F, 0},     {0x80, 0xFF, -0x80}};
  for (const Row& r : rows)
    for (int v = r.from; v <= r.to; ++v)
      ASSERT_EQ(static_cast<uint8_t>(EncodeAddress(std::string(1, static_cast<char>(v)))[0]),
                v + r.delta)
          << std::hex << v;
}

TEST(AvatarAddress, DecodingFollowsItsByteTableAndInvertsDigitsAndDots) {
  for (int v = 0; v < 256; ++v) {
    const int expected = v < 0x80 ? v : v < 0xC0 ? v - 0x80 : v - 0x60;
    ASSERT_EQ(static_cast<uint8_t>(DecodeAddress(std::string(1, static_cast<char>(v)))[0]),
              expected)
        << std::hex << v;
  }
  const std::string every = "0123456789.";
  EXPECT_EQ(DecodeAddress(EncodeAddress(every)), every);
}

TEST(AvatarAddress, LocalNetworks) {
  for (const char* local : {"10.1.2.3", "172.16.0.1", "172.31.255.1", "192.168.1.1", "", "abc",
                            "10.x", " 10.0.0.1"})
    EXPECT_TRUE(IsLocalAddress(local)) << local;
  for (const char* public_address :
       {"172.15.0.1", "172.32.0.1", "192.169.1.1", "203.0.113.5", "1.10.0.0", "x.10.1.1",
        "10000000000000000010.0.0.1", "4294967306.0.0.1"})
    EXPECT_FALSE(IsLocalAddress(public_address)) << public_address;
  // "%d.%d.": a missing second number reads as 0.
  EXPECT_FALSE(IsLocalAddress("172."));
  EXPECT_TRUE(IsLocalAddress("10."));
}

TEST(AvatarAddress, DottedAddressesOnly) {
  for (const char* good : {"192.168.0.1", "0.0.0.0", "255.255.255.255", "203.0.113.5"})
    EXPECT_TRUE(IsDottedAddress(good)) << good;
  for (const char* bad : {"", "1.2.3", "1.2.3.4.", "1.2.3.4.5", "256.1.1.1", "1..2.3",
                          "evil.example", "1.2.3.4 ", "0001.2.3.4", "-1.2.3.4"})
    EXPECT_FALSE(IsDottedAddress(bad)) << bad;
}

TEST(AvatarFileName, TheMovRuleInAnyCase) {
  EXPECT_TRUE(IsAvatarFileName("avatar\\foo.mov"));
  EXPECT_TRUE(IsAvatarFileName("avatar\\FOO.MoV"));
  EXPECT_TRUE(IsAvatarFileName(".mov"));
  EXPECT_TRUE(IsAvatarFileName("sub/dir\\x.MOV"));
  EXPECT_FALSE(IsAvatarFileName("avatar\\foo.cmp"));
  EXPECT_FALSE(IsAvatarFileName("mov"));
  EXPECT_FALSE(IsAvatarFileName(""));
  EXPECT_FALSE(IsAvatarFileName("avatar\\foo.mov "));
  // A double-byte character's second byte is not a letter to raise: 82 76
  // is not "v".
  EXPECT_FALSE(IsAvatarFileName("avatar\\foo.mo\x82v"));
  EXPECT_TRUE(IsAvatarFileName("\x95\x5C\x8E\xA6.mov"));  // 表示.mov
}

TEST(AvatarFileName, NothingOutsideTheHostFolder) {
  for (const char* name :
       {"..\\foo.mov", "a\\..\\foo.mov", "a\\..", "..", "C:\\foo.mov", "c:foo.mov",
        "avatar\\foo.mov:stream.mov", "\\foo.mov", "/foo.mov", "\\\\server\\share\\foo.mov",
        "avatar\\foo\x01.mov", "avatar\\foo.mov\n.mov"})
    EXPECT_FALSE(IsAvatarFileName(name)) << name;
  EXPECT_FALSE(IsAvatarFileName(std::string("foo.exe\0.mov", 12)));
}

TEST(AvatarReference, TheFirstBackslashIsFoundOverDoubleByteCharacters) {
  EXPECT_EQ(AfterFirstBackslash("avatar\\foo.mov"), "foo.mov");
  EXPECT_EQ(AfterFirstBackslash("a\\b\\c.mov"), "b\\c.mov");
  EXPECT_EQ(AfterFirstBackslash("foo.mov"), "foo.mov");
  EXPECT_EQ(AfterFirstBackslash("\x95\x5C\\x.mov"), "x.mov");  // 表 then a real backslash
  EXPECT_EQ(FirstBackslash("\x95\x5C\x8E\xA6"), std::string_view::npos);
  EXPECT_EQ(AfterFirstBackslash("tail\\"), "");
}

}  // namespace
}  // namespace tellu
