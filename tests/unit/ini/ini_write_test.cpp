// Writing a profile file: only the key's line changes, every other byte of
// the file stays, and what is written reads back.
#include <gtest/gtest.h>

#include "ini/ini_file.h"
#include "platform/fake_files.h"

namespace tellu {
namespace {

using namespace std::string_literals;

// A host configuration file as users keep them: comments, blank lines,
// unknown keys, Shift-JIS text, blanks around "=".
const std::string kHostFile =
    "; RV/K3 \x90\xDD\x92\xE8\r\n"  // 設定
    "[Server]\r\n"
    "Host = chat.example.jp   \r\n"
    "Port=5200\r\n"
    "\r\n"
    "; \x83\x81\x83\x82\r\n"  // メモ
    "[User]\r\n"
    "Name=\x83\x65\x83\x58\x83\x67\r\n"  // テスト
    "Unknown=\x1a\r\n";

class IniWrite : public ::testing::Test {
 protected:
  const std::string& File() { return files_.Get(kPath); }
  // The original with `from` replaced once by `to`.
  static std::string Replaced(const std::string& original, const std::string& from,
                              const std::string& to) {
    std::string out = original;
    out.replace(out.find(from), from.size(), to);
    return out;
  }

  static constexpr const char* kPath = "c:\\windows\\rvk.ini";
  FakeFiles files_;
  IniFile ini_{files_, kPath};
};

TEST_F(IniWrite, ChangesOnlyTheValueOfTheKeysLine) {
  files_.Put(kPath, kHostFile);
  ASSERT_TRUE(ini_.WriteString("server", "HOST", "localhost"));
  EXPECT_EQ(File(), Replaced(kHostFile, "chat.example.jp   ", "localhost"));
  ASSERT_TRUE(ini_.WriteString("Server", "Host", "chat.example.jp"));
  EXPECT_EQ(File(), Replaced(kHostFile, "chat.example.jp   ", "chat.example.jp"));
}

TEST_F(IniWrite, ShiftJisValuesAreWrittenAsBytes) {
  files_.Put(kPath, kHostFile);
  const std::string name = "\x95\x5C\x8E\xA6";  // 表示: 5C is a trail byte
  ASSERT_TRUE(ini_.WriteString("User", "Name", name));
  EXPECT_EQ(File(), Replaced(kHostFile, "\x83\x65\x83\x58\x83\x67", name));
  EXPECT_EQ(ini_.GetString("User", "Name", ""), name);
}

TEST_F(IniWrite, NewKeyGoesAfterTheLastKeyOfItsSection) {
  files_.Put(kPath, kHostFile);
  ASSERT_TRUE(ini_.WriteString("Server", "Proxy", "none"));
  EXPECT_EQ(File(), Replaced(kHostFile, "Port=5200\r\n", "Port=5200\r\nProxy=none\r\n"));
}

TEST_F(IniWrite, NewKeyInEmptySectionGoesAfterTheHeader) {
  files_.Put(kPath, "[A]\r\n\r\n[B]\r\nx=1\r\n");
  ASSERT_TRUE(ini_.WriteString("A", "k", "v"));
  EXPECT_EQ(File(), "[A]\r\nk=v\r\n\r\n[B]\r\nx=1\r\n");
}

TEST_F(IniWrite, NewSectionGoesAtTheEnd) {
  files_.Put(kPath, kHostFile);
  ASSERT_TRUE(ini_.WriteString("SYS1", "LogChk", "1"));
  EXPECT_EQ(File(), kHostFile + "[SYS1]\r\nLogChk=1\r\n");
}

TEST_F(IniWrite, FirstWriteCreatesTheFile) {
  ASSERT_TRUE(ini_.WriteString(" SYSTEM ", " RN ", "5300"));
  EXPECT_EQ(File(), "[SYSTEM]\r\nRN=5300\r\n");
  EXPECT_EQ(ini_.GetInt("SYSTEM", "RN", 0), 5300);
}

TEST_F(IniWrite, AddedLinesFollowTheFilesLineEnds) {
  files_.Put(kPath, "[S]\na=1\n");
  ASSERT_TRUE(ini_.WriteString("S", "b", "2"));
  ASSERT_TRUE(ini_.WriteString("T", "c", "3"));
  EXPECT_EQ(File(), "[S]\na=1\nb=2\n[T]\nc=3\n");
  files_.Put(kPath, "[S]\ra=1\r");
  ASSERT_TRUE(ini_.WriteString("S", "b", "2"));
  EXPECT_EQ(File(), "[S]\ra=1\rb=2\r");
}

TEST_F(IniWrite, MissingFinalLineEndIsSupplied) {
  files_.Put(kPath, "[S]\r\na=1");
  ASSERT_TRUE(ini_.WriteString("S", "b", "2"));
  EXPECT_EQ(File(), "[S]\r\na=1\r\nb=2\r\n");
  files_.Put(kPath, "[S]\r\na=1");
  ASSERT_TRUE(ini_.WriteString("T", "b", "2"));
  EXPECT_EQ(File(), "[S]\r\na=1\r\n[T]\r\nb=2\r\n");
}

TEST_F(IniWrite, WritesGoWhereReadsLook) {
  const std::string file = "[A]\r\nbare\r\nk=1\r\n[B]\r\n[a]\r\nonly=2\r\n";
  files_.Put(kPath, file);
  // The first section of the name, and its first key of the name.
  ASSERT_TRUE(ini_.WriteString("a", "only", "x"));
  ASSERT_TRUE(ini_.WriteString("A", "BARE", "y"));
  EXPECT_EQ(File(), "[A]\r\nbare=y\r\nk=1\r\nonly=x\r\n[B]\r\n[a]\r\nonly=2\r\n");
  EXPECT_EQ(ini_.GetString("a", "only", ""), "x");
  EXPECT_EQ(ini_.GetString("A", "bare", ""), "y");
}

TEST_F(IniWrite, ValueStopsAtALineBreakOrNul) {
  files_.Put(kPath, kHostFile);
  ASSERT_TRUE(ini_.WriteString("Server", "Host", "evil\r\n[Server]\r\nHost=other"));
  EXPECT_EQ(ini_.GetString("Server", "Host", ""), "evil");
  ASSERT_TRUE(ini_.WriteString("Server", "Port", "1\0 2"s));
  EXPECT_EQ(File(), Replaced(Replaced(kHostFile, "chat.example.jp   ", "evil"), "5200", "1"));
}

TEST_F(IniWrite, NamesThatCouldNotBeFoundAgainAreRefused) {
  files_.Put(kPath, kHostFile);
  for (const std::string& key : {""s, " "s, "a=b"s, ";x"s, "[x"s, "a\r\nb"s, "a\0b"s})
    EXPECT_FALSE(ini_.WriteString("Server", key, "v")) << key;
  for (const std::string& section : {""s, "a\nb"s, "a\0b"s, "S\x82"s})
    EXPECT_FALSE(ini_.WriteString(section, "k", "v")) << section;
  EXPECT_EQ(File(), kHostFile);
}

TEST_F(IniWrite, UnreadableFileIsLeftAlone) {
  files_.Put(kPath, kHostFile);
  files_.unopenable.insert(kPath);
  EXPECT_FALSE(ini_.WriteString("Server", "Host", "localhost"));
  files_.unopenable.clear();
  EXPECT_EQ(File(), kHostFile);
}

TEST_F(IniWrite, OtherKeysReadTheSameAfterAWrite) {
  files_.Put(kPath, kHostFile);
  IniFile other(files_, kPath);
  ASSERT_TRUE(ini_.WriteString("User", "Added", "\x82\xA0"));
  EXPECT_EQ(other.GetString("User", "Added", ""), "\x82\xA0");
  EXPECT_EQ(other.GetString("Server", "Host", ""), "chat.example.jp");
  EXPECT_EQ(other.GetInt("Server", "Port", 0), 5200);
  EXPECT_EQ(other.GetString("User", "Unknown", "-"), "");
}

}  // namespace
}  // namespace tellu
