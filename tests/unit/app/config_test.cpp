// tellu.ini's location, its SYSTEM section and the slots' host-link keys.
#include <gtest/gtest.h>

#include "app/config.h"
#include "ini/ini_file.h"
#include "platform/fake_files.h"
#include "text/paths.h"

namespace tellu {
namespace {

constexpr const char* kWindows = "C:\\WINDOWS";
constexpr const char* kProgram = "C:\\Program Files\\Tellu\\TELLU.EXE";

TEST(ProfileLocation, WindowsFolderCopyWinsWhenPresent) {
  FakeFiles files;
  files.Put("C:\\WINDOWS\\TELLU.INI", "");
  files.Put("C:\\Program Files\\Tellu\\TELLU.ini", "");
  EXPECT_EQ(LocateProfileFile(files, kWindows, kProgram), "C:\\WINDOWS\\TELLU.INI");
}

TEST(ProfileLocation, OtherwiseTheFileBesideTheProgram) {
  FakeFiles files;
  // Also on a first run, when neither file exists yet.
  EXPECT_EQ(LocateProfileFile(files, kWindows, kProgram), "C:\\Program Files\\Tellu\\TELLU.ini");
  files.Put("C:\\WINDOWS\\OTHER.INI", "");
  EXPECT_EQ(LocateProfileFile(files, kWindows, kProgram), "C:\\Program Files\\Tellu\\TELLU.ini");
}

TEST(ProfileLocation, NameComesFromTheProgramsBaseName) {
  FakeFiles files;
  files.Put("C:\\WINDOWS\\tellu2.INI", "");
  // ソフト: its first character ends in a 5C byte that is no backslash.
  EXPECT_EQ(LocateProfileFile(files, "C:\\WINDOWS\\", "D:\\\x83\x5C\x83\x74\x83\x67\\tellu2.exe"),
            "C:\\WINDOWS\\tellu2.INI");
  EXPECT_EQ(LocateProfileFile(files, kWindows, "x"), "ini");
}

TEST(Paths, BackslashesAreNotTrailBytes) {
  const std::string so = "C:\\\x83\x5C";  // C:\ソ
  EXPECT_FALSE(EndsWithBackslash(so));
  EXPECT_EQ(WithTrailingBackslash(so), so + "\\");
  EXPECT_EQ(WithoutTrailingBackslash(so + "\\"), so);
  EXPECT_EQ(WithTrailingBackslash("c:\\rvk\\"), "c:\\rvk\\");
  EXPECT_EQ(WithTrailingBackslash(""), "");
  EXPECT_EQ(JoinPath(so, "a.ini"), so + "\\a.ini");
  EXPECT_EQ(FileNamePart(so + "\\" + "\x83\x5C.exe"), "\x83\x5C.exe");
}

class Config : public ::testing::Test {
 protected:
  void SetUp() override { files_.Put("tellu.ini", ""); }
  FakeFiles files_;
  IniFile ini_{files_, "tellu.ini"};
};

TEST_F(Config, PortsDefaultToTheSameNumber) {
  EXPECT_EQ(ListenPort(ini_), 5200);
  EXPECT_EQ(ServerPort(ini_), 5200);
  files_.Put("tellu.ini", "[SYSTEM]\r\nRN=5300\r\nSN=6000\r\n");
  EXPECT_EQ(ListenPort(ini_), 5300);
  EXPECT_EQ(ServerPort(ini_), 6000);
}

TEST_F(Config, SlotNameIsBothKeyAndSection) {
  files_.Put("tellu.ini", "[SYSTEM]\r\nSYS3=RV/K3\r\nSYS12=twelve\r\n[SYS3]\r\nINIFILE=rvk.ini\r\n");
  EXPECT_EQ(TitleTemplate(ini_, 3), "RV/K3");
  EXPECT_EQ(TitleTemplate(ini_, 1), "");
  EXPECT_EQ(TitleTemplate(ini_, 12), "twelve");
  EXPECT_EQ(ReadHostLink(ini_, SlotName(3)).ini_file, "rvk.ini");
}

TEST_F(Config, SlotIsCompleteWithFileSectionKeyAndProgram) {
  const std::string full =
      "[SYS1]\r\nINIFILE=rvk.ini\r\nCHGSEC=Server\r\nCHGKEY=Host\r\nPROG=&\\rvk.exe\r\n";
  files_.Put("tellu.ini", full);
  HostLink link = ReadHostLink(ini_, "SYS1");
  EXPECT_TRUE(link.Complete());
  EXPECT_EQ(link.prog, "&\\rvk.exe");
  EXPECT_EQ(link.pro_dir, "");
  for (const char* key : {"INIFILE", "CHGSEC", "CHGKEY", "PROG"}) {
    std::string without = full;
    size_t at = without.find(key);
    without.replace(at, std::string(key).size(), "X");
    files_.Put("tellu.ini", without);
    EXPECT_FALSE(ReadHostLink(ini_, "SYS1").Complete()) << key;
  }
}

TEST_F(Config, HostIniLivesInTheWindowsFolder) {
  EXPECT_EQ(HostIniPath(kWindows, "rvk3.ini"), "C:\\WINDOWS\\rvk3.ini");
}

}  // namespace
}  // namespace tellu
