// The host's configuration file: the server name is found where the Windows
// private-profile rules would find it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "ini.h"

namespace tellu::chatsim {
namespace {

TEST(Ini, NamesCompareWithoutCaseAndBlanksAroundThemAreDropped) {
  const char text[] = "[Other]\nServer=wrong\n[ Net ]\n  SERVER  =  chat.example  \n";
  EXPECT_EQ(IniValue(text, "net", "server"), "chat.example");
  EXPECT_EQ(IniValue(text, "NET", "Server"), "chat.example");
}

TEST(Ini, OnlyTheFirstSectionAndKeyOfAName) {
  const char text[] = "[Net]\nServer=first\nServer=second\n[Net]\nServer=third\nPort=1\n";
  EXPECT_EQ(IniValue(text, "Net", "Server"), "first");
  EXPECT_EQ(IniValue(text, "Net", "Port"), std::nullopt);
}

TEST(Ini, MissingSectionOrKeyIsNotAnEmptyValue) {
  const char text[] = "[Net]\nServer=\nHost\n";
  EXPECT_EQ(IniValue(text, "Net", "Server"), "");
  EXPECT_EQ(IniValue(text, "Net", "Host"), std::nullopt);
  EXPECT_EQ(IniValue(text, "Nope", "Server"), std::nullopt);
  EXPECT_EQ(IniValue("Server=x\n[Net]\n", "Net", "Server"), std::nullopt);
}

TEST(Ini, QuotesCommentsLineEndsAndForeignBytes) {
  const std::string text =
      "\xef\xbb\xbf[Net]\r\n"
      "; Server=commented\r\n"
      "Name=\x83\x65\x83\x8b\r\n"  // テル in Shift-JIS
      "Server=\"quoted host\"\r\n"
      "Half='open\r\n";
  EXPECT_EQ(IniValue(text, "Net", "Server"), "quoted host");
  EXPECT_EQ(IniValue(text, "Net", "Name"), "\x83\x65\x83\x8b");
  EXPECT_EQ(IniValue(text, "Net", "Half"), "'open");
}

TEST(Ini, ReadsAFileAndReportsAMissingOne) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("chatsim_ini_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".ini");
  {
    std::ofstream out(path, std::ios::binary);
    out << "[RVK]\r\nSERVER=localhost\r\n";
  }
  EXPECT_EQ(ReadIniValue(path.string(), "rvk", "server"), "localhost");
  std::filesystem::remove(path);
  EXPECT_EQ(ReadIniValue(path.string(), "rvk", "server"), std::nullopt);
}

}  // namespace
}  // namespace tellu::chatsim
