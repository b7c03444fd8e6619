// The host folder of a slot and the host title built from its template.
#include <gtest/gtest.h>

#include "app/host_dir.h"
#include "app/host_title.h"
#include "ini/ini_file.h"
#include "app/startup_texts.h"
#include "platform/fake_files.h"
#include "text/sjis.h"

namespace tellu {
namespace {

class RecordingRegistry : public Registry {
 public:
  std::string ReadLocalMachine(const std::string& key, const std::string& name) override {
    asked = key + "|" + name;
    return key == "SOFTWARE\\Zenmo\\RVK3" && name == "Path" ? value : "";
  }
  std::string value = "D:\\RVK3";
  std::string asked;
};

class HostFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    files_.Put("tellu.ini",
               "[SYSTEM]\r\nSYS1=RV/K3+@title.txt+ ver\r\n"
               "[SYS1]\r\nINIFILE=rvk.ini\r\nPRODIR=InstallDir\r\nCHGSEC=Server\r\n"
               "REGDIR=SOFTWARE\\Zenmo\\RVK3\r\n");
  }
  std::string Dir() { return HostProgramDir(ini_, files_, registry_, "C:\\WINDOWS", "SYS1"); }

  FakeFiles files_;
  IniFile ini_{files_, "tellu.ini"};
  RecordingRegistry registry_;
};

TEST_F(HostFolder, HostConfigurationFileComesFirst) {
  files_.Put("C:\\WINDOWS\\rvk.ini", "[server]\r\ninstalldir=c:\\zenmo\\rvk3\r\n");
  EXPECT_EQ(Dir(), "c:\\zenmo\\rvk3");
  EXPECT_EQ(registry_.asked, "");
}

TEST_F(HostFolder, RegistryWhenTheFileDoesNotNameIt) {
  files_.Put("C:\\WINDOWS\\rvk.ini", "[Server]\r\nHost=chat\r\n");
  EXPECT_EQ(Dir(), "D:\\RVK3");
  EXPECT_EQ(registry_.asked, "SOFTWARE\\Zenmo\\RVK3|Path");
  files_.Delete("C:\\WINDOWS\\rvk.ini");
  EXPECT_EQ(Dir(), "D:\\RVK3");
  registry_.value = "";
  EXPECT_EQ(Dir(), "");
}

TEST_F(HostFolder, FolderMustFitAPathBuffer) {
  std::string long_dir = "c:\\" + std::string(300, 'd');
  files_.Put("C:\\WINDOWS\\rvk.ini", "[Server]\r\nInstallDir=" + long_dir + "\r\n");
  EXPECT_EQ(Dir(), long_dir.substr(0, 259));
  files_.Delete("C:\\WINDOWS\\rvk.ini");
  registry_.value = long_dir;
  EXPECT_EQ(Dir(), "");
}

class Title : public HostFolder {
 protected:
  HostTitle OfSlot(int slot = 1) {
    return HostTitleOfSlot(ini_, files_, registry_, "C:\\WINDOWS", slot);
  }
};

TEST_F(Title, LiteralsAndFileBytesAreJoined) {
  files_.Put("C:\\WINDOWS\\rvk.ini", "[Server]\r\nInstallDir=c:\\rvk\r\n");
  files_.Put("c:\\rvk\\title.txt", std::string(200, 'T'));
  HostTitle title = OfSlot();
  EXPECT_EQ(title.text, "RV/K3" + std::string(128, 'T') + " ver");
  EXPECT_TRUE(title.usable);
}

TEST_F(Title, FileBytesAreTakenExactly) {
  files_.Put("d:\\rvk\\t", std::string("a\0\r\n", 4));
  HostTitle title = BuildHostTitle("<+@t+>", "d:\\rvk\\", files_);
  EXPECT_EQ(title.text, std::string("<a\0\r\n>", 6));
}

TEST_F(Title, MissingFileLeavesNoTitle) {
  files_.Put("C:\\WINDOWS\\rvk.ini", "[Server]\r\nInstallDir=c:\\rvk\\\r\n");
  HostTitle title = OfSlot();
  EXPECT_EQ(title.text, "");
  EXPECT_FALSE(title.usable);
}

TEST_F(Title, UsableTellsWhetherTheLastFilePieceWasRead) {
  files_.Put("d:\\a", "A");
  EXPECT_TRUE(BuildHostTitle("plain+text", "d:\\", files_).usable);
  EXPECT_EQ(BuildHostTitle("plain+text", "d:\\", files_).text, "plaintext");
  EXPECT_TRUE(BuildHostTitle("@a+@a", "d:\\", files_).usable);
  // Without a host folder no file is read: the literals remain.
  HostTitle no_dir = BuildHostTitle("x+@a+y", "", files_);
  EXPECT_EQ(no_dir.text, "xy");
  EXPECT_FALSE(no_dir.usable);
}

TEST_F(Title, EmptyTemplateIsNoTitle) {
  HostTitle title = OfSlot(2);
  EXPECT_EQ(title.text, "");
  EXPECT_FALSE(title.usable);
  EXPECT_EQ(registry_.asked, "");
}

TEST(StartupTexts, AdviceNamesTheFileAndTheMissingLine) {
  std::string advice = HostDirAdvice("C:\\WINDOWS\\rvk.ini", "InstallDir");
  // に / のようにインストールしたフォルダ名の設定行を追加してください, in UTF-8
  EXPECT_EQ(text::SjisToUtf8(advice),
            "C:\\WINDOWS\\rvk.ini\xE3\x81\xAB\r\nInstallDir=c:\\zenmo\\rvk3\r\n"
            "\xE3\x81\xAE\xE3\x82\x88\xE3\x81\x86\xE3\x81\xAB\xE3\x82\xA4\xE3\x83\xB3\xE3\x82\xB9"
            "\xE3\x83\x88\xE3\x83\xBC\xE3\x83\xAB\xE3\x81\x97\xE3\x81\x9F\xE3\x83\x95\xE3\x82\xA9"
            "\xE3\x83\xAB\xE3\x83\x80\xE5\x90\x8D\xE3\x81\xAE\xE8\xA8\xAD\xE5\xAE\x9A\xE8\xA1\x8C"
            "\xE3\x82\x92\xE8\xBF\xBD\xE5\x8A\xA0\xE3\x81\x97\xE3\x81\xA6\xE3\x81\x8F\xE3\x81\xA0"
            "\xE3\x81\x95\xE3\x81\x84");
}

}  // namespace
}  // namespace tellu
