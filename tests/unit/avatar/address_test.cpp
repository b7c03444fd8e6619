// The handshake's byte rules: address scrambling, the local-network test, the
// file-name rule and the backslash search.
#include <gtest/gtest.h>

#include <cstdint>
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

// Known bytes at the edges of each range the scrambling treats alike.
TEST(AvatarAddress, EncodingOfKnownBytes) {
  const struct {
    uint8_t in, out;
  } pairs[] = {{0x00, 0x80}, {0x1F, 0x9F}, {' ', ' '},  {'!', 0xA1},  {'.', 0xAE}, {'0', 0xB0},
               {'9', 0xB9},  {':', ':'},   {'@', '@'},  {'A', 0xBA},  {'F', 0xBF}, {'G', 'G'},
               {'`', '`'},   {'a', 0x01},  {'z', 0x1A}, {'{', '{'},   {0x7F, 0x7F}, {0x80, 0x00},
               {0xB1, 0x31}, {0xFF, 0x7F}};
  for (const auto& p : pairs)
    EXPECT_EQ(static_cast<uint8_t>(EncodeAddress(std::string(1, static_cast<char>(p.in)))[0]),
              p.out)
        << std::hex << int(p.in);
}

TEST(AvatarAddress, DecodingOfKnownBytesInvertsDigitsAndDots) {
  const struct {
    uint8_t in, out;
  } pairs[] = {{0x00, 0x00}, {'A', 'A'},  {0x7F, 0x7F}, {0x80, 0x00}, {0xAE, '.'},
               {0xB0, '0'},  {0xB9, '9'}, {0xBF, 0x3F}, {0xC0, 0x60}, {0xFF, 0x9F}};
  for (const auto& p : pairs)
    EXPECT_EQ(static_cast<uint8_t>(DecodeAddress(std::string(1, static_cast<char>(p.in)))[0]),
              p.out)
        << std::hex << int(p.in);
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
