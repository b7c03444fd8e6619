// Reading a profile file with the platform's rules, one rule per group.
#include <gtest/gtest.h>

#include "ini/ini_file.h"
#include "platform/fake_files.h"

namespace tellu {
namespace {

using namespace std::string_literals;

class IniRead : public ::testing::Test {
 protected:
  std::string Get(const std::string& bytes, const std::string& section, const std::string& key,
                  const std::string& def = "<default>", size_t size = 4096) {
    files_.Put("c:\\t.ini", bytes);
    return ini_.GetString(section, key, def, size);
  }
  int Int(const std::string& value) {
    files_.Put("c:\\t.ini", "[I]\r\nv=" + value + "\r\n");
    return ini_.GetInt("I", "v", -7);
  }

  FakeFiles files_;
  IniFile ini_{files_, "c:\\t.ini"};
};

TEST_F(IniRead, NamesCompareWithoutAsciiCase) {
  EXPECT_EQ(Get("[System]\r\nSearchTimer=25\r\n", "SYSTEM", "searchtimer"), "25");
  EXPECT_EQ(Get("[sys1]\r\nlogchk=1\r\n", "SYS1", "LogChk"), "1");
}

TEST_F(IniRead, DoubleByteNamesCompareExactly) {
  // ア (83 41) and ツ (83 61) differ only in a trail byte that looks like A / a.
  const std::string file = "[S]\r\n\x83\x41=upper\r\n\x83\x61=lower\r\n";
  EXPECT_EQ(Get(file, "S", "\x83\x41"), "upper");
  EXPECT_EQ(Get(file, "S", "\x83\x61"), "lower");
}

TEST_F(IniRead, FirstSectionAndFirstKeyWin) {
  const std::string file = "[A]\r\nk=1\r\nk=2\r\n[B]\r\nx=b\r\n[a]\r\nk=3\r\nonly=second\r\n";
  EXPECT_EQ(Get(file, "A", "k"), "1");
  EXPECT_EQ(Get(file, "B", "x"), "b");
  // A later section of the same name is never looked at.
  EXPECT_EQ(Get(file, "a", "only"), "<default>");
}

TEST_F(IniRead, KeyWithoutEqualsHidesLaterOnes) {
  const std::string file = "[S]\r\nbare\r\nbare=later\r\nother=1\r\n";
  EXPECT_EQ(Get(file, "S", "bare"), "<default>");
  EXPECT_EQ(Get(file, "S", "other"), "1");
}

TEST_F(IniRead, BlanksAroundNamesAndValuesAreTrimmed) {
  const std::string file = "  [ Sec One ]  \r\n\t key one \t=\t value one \t\r\n\x0b k2 =\x1a 2 \x1a\r\n";
  EXPECT_EQ(Get(file, "Sec One", "key one"), "value one");
  EXPECT_EQ(Get(file, "  Sec One\t", " key one "), "value one");
  EXPECT_EQ(Get(file, "Sec One", "k2"), "2");
  // A full-width blank is text, not a blank.
  EXPECT_EQ(Get("[S]\r\nk=\x81\x40x\x81\x40\r\n", "S", "k"), "\x81\x40x\x81\x40");
}

TEST_F(IniRead, EmptyValueIsNotTheDefault) {
  EXPECT_EQ(Get("[S]\r\nk=\r\n", "S", "k"), "");
  EXPECT_EQ(Get("[S]\r\nk=   \r\n", "S", "k"), "");
}

TEST_F(IniRead, MatchingQuotesAreRemoved) {
  const std::string file =
      "[Q]\r\nd=\"abc\"\r\ns='abc'\r\nmixed=\"abc'\r\none=\"\r\nempty=\"\"\r\ninner=\" a \"\r\n"
      "middle=x\"y\"z\r\n";
  EXPECT_EQ(Get(file, "Q", "d"), "abc");
  EXPECT_EQ(Get(file, "Q", "s"), "abc");
  EXPECT_EQ(Get(file, "Q", "mixed"), "\"abc'");
  EXPECT_EQ(Get(file, "Q", "one"), "\"");
  EXPECT_EQ(Get(file, "Q", "empty"), "");
  EXPECT_EQ(Get(file, "Q", "inner"), " a ");
  EXPECT_EQ(Get(file, "Q", "middle"), "x\"y\"z");
  // A quoted value that just fills the buffer keeps all its characters.
  EXPECT_EQ(Get(file, "Q", "d", "", 4), "abc");
}

TEST_F(IniRead, DefaultLosesTrailingSpacesAndQuotes) {
  EXPECT_EQ(Get("", "S", "k", "Tellu  Ver  0.17   "), "Tellu  Ver  0.17");
  EXPECT_EQ(Get("", "S", "k", "x \t"), "x \t");
  EXPECT_EQ(Get("", "S", "k", "'q'"), "q");
}

TEST_F(IniRead, CommentsAndMalformedLinesAreSkipped) {
  const std::string file =
      "; head\r\nk=before any section\r\n[S]\r\n;k=commented\r\nk=real\r\n[U\r\nafter=still S\r\n";
  EXPECT_EQ(Get(file, "S", "k"), "real");
  EXPECT_EQ(Get(file, "S", "after"), "still S");
  EXPECT_EQ(Get(file, "U", "after"), "<default>");
}

TEST_F(IniRead, HeaderEndsAtItsLastBracket) {
  const std::string file = "[S] ; note\r\na=1\r\n[V]x]y\r\nb=2\r\n";
  EXPECT_EQ(Get(file, "S", "a"), "1");
  EXPECT_EQ(Get(file, "V]x", "b"), "2");
  // 5D is the trail byte of ゾ (83 5D), not a bracket.
  EXPECT_EQ(Get("[X]\x83\x5D\r\nd=4\r\n", "X", "d"), "4");
  EXPECT_EQ(Get("[\x83\x5D]\r\ne=5\r\n", "\x83\x5D", "e"), "5");
}

TEST_F(IniRead, AnyLineEndEndsALine) {
  for (const std::string& eol : {"\r\n"s, "\n"s, "\r"s}) {
    const std::string file = "[S]" + eol + "a=1" + eol + "[T]" + eol + "b=2";
    EXPECT_EQ(Get(file, "S", "a"), "1");
    EXPECT_EQ(Get(file, "T", "b"), "2");
  }
  EXPECT_EQ(Get("[S]\na=1\rb=2\nc=3\r[T]\rd=4", "S", "b"), "2");
}

TEST_F(IniRead, ValueIsCutToTheBuffer) {
  const std::string file = "[S]\r\nk=abcdef\r\nj=\x82\xA0\x82\xA2\x82\xA4\r\n";
  EXPECT_EQ(Get(file, "S", "k", "", 4), "abc");
  EXPECT_EQ(Get(file, "S", "k", "", 1), "");
  EXPECT_EQ(Get(file, "S", "k", "", 0), "");
  EXPECT_EQ(Get(file, "S", "k", "12345678", 4), "abc");
  EXPECT_EQ(Get(file, "S", "missing", "12345678", 4), "123");
  // Never half of a double-byte character (あいう).
  EXPECT_EQ(Get(file, "S", "j", "", 5), "\x82\xA0\x82\xA2");
  EXPECT_EQ(Get(file, "S", "j", "", 4), "\x82\xA0");
}

TEST_F(IniRead, NulEndsNamesAndValues) {
  const std::string file = "[S]\r\na=1\0junk\r\nb\0x=2\r\n[T\0U]\r\nd=4\r\n"s;
  EXPECT_EQ(Get(file, "S", "a"), "1");
  EXPECT_EQ(Get(file, "S", "b"), "2");
  EXPECT_EQ(Get(file, "T", "d"), "4");
  EXPECT_EQ(Get(file, "S\0ignored"s, "a"), "1");
}

TEST_F(IniRead, OddFilesGiveDefinedResults) {
  EXPECT_EQ(Get("", "S", "k"), "<default>");
  EXPECT_EQ(Get("[S]", "S", "k"), "<default>");
  EXPECT_EQ(Get("\xEF\xBB\xBF[S]\r\na=1\r\n", "S", "a"), "1");
  EXPECT_EQ(Get("[S]\r\nk=1", "", "k"), "<default>");
  EXPECT_EQ(Get("[S]\r\n=1", "S", ""), "<default>");
  std::string long_value(100000, 'v');
  EXPECT_EQ(Get("[S]\r\nk=" + long_value, "S", "k").size(), 4095u);
  files_.contents().clear();
  EXPECT_EQ(ini_.GetString("S", "k", "gone"), "gone");
}

TEST_F(IniRead, IntegersFollowThePlatform) {
  EXPECT_EQ(Int("42"), 42);
  EXPECT_EQ(Int("-17"), -17);
  EXPECT_EQ(Int("+5"), 5);
  EXPECT_EQ(Int(" 12abc"), 12);
  EXPECT_EQ(Int("\"77\""), 77);
  EXPECT_EQ(Int("\x01 9"), 9);
  EXPECT_EQ(Int("abc"), 0);
  EXPECT_EQ(Int("--5"), 0);
}

TEST_F(IniRead, IntegerPrefixesAreLowerCaseOnly) {
  EXPECT_EQ(Int("0x1F"), 31);
  EXPECT_EQ(Int("0xfFz"), 255);
  EXPECT_EQ(Int("0X1F"), 0);
  EXPECT_EQ(Int("0o17"), 15);
  EXPECT_EQ(Int("0b101"), 5);
  EXPECT_EQ(Int("0x"), 0);
}

TEST_F(IniRead, IntegersWrapAtThirtyTwoBits) {
  EXPECT_EQ(Int("4294967297"), 1);
  EXPECT_EQ(Int("-2147483649"), 2147483647);
  // Only the first 29 characters are read.
  EXPECT_EQ(Int("1000000000000000000000000000099"), Int("10000000000000000000000000000"));
}

TEST_F(IniRead, MissingOrEmptyIntegerIsTheDefault) {
  EXPECT_EQ(Int(""), -7);
  EXPECT_EQ(Int("\"\""), -7);
  files_.Put("c:\\t.ini", "[I]\r\n");
  EXPECT_EQ(ini_.GetInt("I", "v", 5200), 5200);
}

}  // namespace
}  // namespace tellu
