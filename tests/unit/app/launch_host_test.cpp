// Launch mode's slot choice, backup, patch, start of PROG and restore.
#include <gtest/gtest.h>

#include "ini/ini_file.h"
#include "app/launch.h"
#include "app/startup_texts.h"
#include "platform/fake_files.h"
#include "platform/fake_shell.h"
#include "platform/fake_ui.h"
#include "platform/registry.h"

namespace tellu {
namespace {

constexpr char kTellu[] = "C:\\TELLU\\tellu.ini";
constexpr char kHostIni[] = "C:\\WINDOWS\\RVK3.INI";
constexpr char kBackup[] = "C:\\WINDOWS\\RVK3.sav";
// The host's file with a Shift-JIS value and mixed line ends that must survive.
constexpr char kHostBytes[] =
    "; RV/K3\r\n[Server]\r\nHost = chat.example.jp\r\nPath=C:\\RVK\r\n"
    "[User]\nName=\x83\x5C\x83\x74\x83\x67\r\n";

std::string Slot(int n, const std::string& keys) {
  return "[SYS" + std::to_string(n) + "]\r\n" + keys;
}
const std::string kComplete =
    "INIFILE=RVK3.INI\r\nPRODIR=Path\r\nCHGSEC=Server\r\nCHGKEY=Host\r\n"
    "PROG=&\\rvk3.exe -x &\r\n";

class Launch : public ::testing::Test {
 protected:
  void SetUp() override { files.Put(kHostIni, kHostBytes); }
  void Tellu(const std::string& text) { files.Put(kTellu, text); }

  FakeFiles files;
  IniFile tellu{files, kTellu};
  NoRegistry registry;
  FakeShell shell;
  FakeUi ui;
  StartupHistory history;
  HostLaunch launch{{tellu, files, registry, shell, ui}, "C:\\WINDOWS", history};
};

TEST_F(Launch, FirstCompleteSlotIsTakenAndEveryTriedOneIsRecorded) {
  Tellu(Slot(1, "INIFILE=A.INI\r\nCHGSEC=S\r\nCHGKEY=K\r\n") + Slot(3, kComplete));
  EXPECT_EQ(launch.ChooseSlot(0), 3);
  EXPECT_EQ(launch.slot_section(), "SYS3");
  EXPECT_EQ(launch.host_ini_path(), kHostIni);
  EXPECT_EQ(history.lines(),
            (std::vector<std::string>{"checking ini_file :C:\\WINDOWS\\A.INI",
                                      "checking ini_file :C:\\WINDOWS\\RVK3.INI",
                                      "reading ini_file :C:\\WINDOWS\\RVK3.INI"}));
  EXPECT_TRUE(ui.notices.empty());
}

TEST_F(Launch, SlotOneWithoutHostFileEndsTheSearch) {
  Tellu(Slot(2, kComplete));
  EXPECT_EQ(launch.ChooseSlot(0), 0);
  ASSERT_EQ(ui.notices.size(), 1u);
  EXPECT_EQ(ui.notices[0].text, "cann't find tellu.ini.");
  EXPECT_TRUE(history.lines().empty());
}

TEST_F(Launch, CommandLineSlotIsTheOnlyOneTried) {
  Tellu(Slot(1, kComplete) + Slot(4, "INIFILE=RVK3.INI\r\n"));
  EXPECT_EQ(launch.ChooseSlot(4), 0);
  EXPECT_EQ(history.lines(),
            std::vector<std::string>{"checking ini_file :C:\\WINDOWS\\RVK3.INI"});
  // A slot other than 1 without a host file is passed over silently.
  HostLaunch other{{tellu, files, registry, shell, ui}, "C:\\WINDOWS", history};
  EXPECT_EQ(other.ChooseSlot(5), 0);
  EXPECT_TRUE(ui.notices.empty());
  HostLaunch one{{tellu, files, registry, shell, ui}, "C:\\WINDOWS", history};
  EXPECT_EQ(one.ChooseSlot(1), 1);
}

TEST_F(Launch, PatchKeepsEveryOtherByteAndStartsProgFromTheHostFolder) {
  Tellu(Slot(1, kComplete));
  ASSERT_EQ(launch.ChooseSlot(0), 1);
  ASSERT_TRUE(launch.PatchAndStart());
  EXPECT_EQ(files.Get(kBackup), kHostBytes);
  std::string patched = kHostBytes;
  patched.replace(patched.find("chat.example.jp"), 15, "localhost");
  EXPECT_EQ(files.Get(kHostIni), patched);
  EXPECT_EQ(launch.server_host_name(), "chat.example.jp");
  EXPECT_EQ(launch.host_program_dir(), "C:\\RVK\\");
  ASSERT_EQ(shell.started.size(), 1u);
  EXPECT_EQ(shell.started[0].program, "C:\\RVK\\rvk3.exe");
  EXPECT_EQ(shell.started[0].params, "-x C:\\RVK");
  EXPECT_EQ(shell.started[0].folder, "C:\\RVK\\");
  EXPECT_EQ(history.lines().back(), "execute C:\\RVK\\rvk3.exe");
  EXPECT_TRUE(launch.Patched());

  ASSERT_TRUE(launch.Restore());
  EXPECT_EQ(files.Get(kHostIni), kHostBytes);
  EXPECT_FALSE(files.Exists(kBackup));
  EXPECT_FALSE(launch.Restore());
}

TEST_F(Launch, AnOlderBackupIsKeptReadAndCopiedBack) {
  // An earlier run ended with the file still patched.
  const std::string older = "[Server]\r\nHost=real.example.jp\r\nPath=C:\\RVK\r\n";
  files.Put(kBackup, older);
  files.Put(kHostIni, "[Server]\r\nHost=localhost\r\nPath=C:\\RVK\r\n");
  Tellu(Slot(1, kComplete));
  ASSERT_EQ(launch.ChooseSlot(0), 1);
  ASSERT_TRUE(launch.PatchAndStart());
  EXPECT_EQ(files.Get(kBackup), older);
  EXPECT_EQ(launch.server_host_name(), "real.example.jp");
  ASSERT_TRUE(launch.Restore());
  EXPECT_EQ(files.Get(kHostIni), older);
  EXPECT_FALSE(files.Exists(kBackup));
}

TEST_F(Launch, NoHostFolderAdvisesAndTouchesNothing) {
  files.Put(kHostIni, "[Server]\r\nHost=chat.example.jp\r\n");
  Tellu(Slot(1, kComplete));
  ASSERT_EQ(launch.ChooseSlot(0), 1);
  EXPECT_FALSE(launch.PatchAndStart());
  ASSERT_EQ(ui.notices.size(), 1u);
  EXPECT_EQ(ui.notices[0].text, HostDirAdvice(kHostIni, "Path"));
  EXPECT_EQ(history.lines().back(), "cann't get AP pass");
  EXPECT_FALSE(files.Exists(kBackup));
  EXPECT_EQ(files.Get(kHostIni), "[Server]\r\nHost=chat.example.jp\r\n");
  EXPECT_TRUE(shell.started.empty());
}

TEST_F(Launch, WithoutABackupNothingIsPatched) {
  Tellu(Slot(1, kComplete));
  // The host folder comes from the registry; the host file cannot be copied.
  files.contents().erase(kHostIni);
  struct PathRegistry : Registry {
    std::string ReadLocalMachine(const std::string&, const std::string&) override {
      return "C:\\RVK";
    }
  } found;
  HostLaunch launch2{{tellu, files, found, shell, ui}, "C:\\WINDOWS", history};
  ASSERT_EQ(launch2.ChooseSlot(0), 1);
  EXPECT_FALSE(launch2.PatchAndStart());
  EXPECT_FALSE(files.Exists(kHostIni));
  EXPECT_TRUE(shell.started.empty());
  EXPECT_EQ(history.lines().back(), "cann't make backup :C:\\WINDOWS\\RVK3.sav");
}

TEST_F(Launch, ABackupThatCannotBeCopiedBackIsKept) {
  struct NoCopyBack : FakeFiles {
    bool Copy(const std::string& from, const std::string& to, bool fail) override {
      return fail && FakeFiles::Copy(from, to, fail);
    }
  } files2;
  files2.Put(kTellu, Slot(1, kComplete));
  files2.Put(kHostIni, kHostBytes);
  IniFile tellu2{files2, kTellu};
  HostLaunch launch2{{tellu2, files2, registry, shell, ui}, "C:\\WINDOWS", history};
  ASSERT_EQ(launch2.ChooseSlot(0), 1);
  ASSERT_TRUE(launch2.PatchAndStart());
  EXPECT_FALSE(launch2.Restore());
  EXPECT_EQ(files2.Get(kBackup), kHostBytes);
  EXPECT_TRUE(launch2.Patched());
}

TEST(ProgramFromProg, SplitAtTheFirstBlankWithAmpersandsReplaced) {
  EXPECT_EQ(ProgramFromProg("&\\prog.exe -x &", "D:\\RV K\\").program, "D:\\RV K\\prog.exe");
  EXPECT_EQ(ProgramFromProg("&\\prog.exe -x &", "D:\\RV K\\").params, "-x D:\\RV K");
  EXPECT_EQ(ProgramFromProg("prog.exe", "D:\\R").params, "");
  EXPECT_EQ(ProgramFromProg("prog.exe", "D:\\R").program, "prog.exe");
  // A blank in front is no separator.
  EXPECT_EQ(ProgramFromProg(" prog.exe -x", "D:\\R").program, " prog.exe -x");
  EXPECT_EQ(ProgramFromProg(" prog.exe -x", "D:\\R").params, "");
  EXPECT_EQ(ProgramFromProg("a&b c  &&", "X\\").program, "aXb");
  EXPECT_EQ(ProgramFromProg("a&b c  &&", "X\\").params, "c  XX");
}

TEST(ProgramFromProg, ArgumentsAreSplitBeforeTheFolderGoesIn) {
  using Args = std::vector<std::string>;
  const std::string blank = "C:\\Program Files (x86)\\RVK3\\";
  const struct {
    const char* prog;
    std::string dir;
    std::string params;
    Args args;
  } cases[] = {
      {"wine &\\RVK3.EXE", blank, "C:\\Program Files (x86)\\RVK3\\RVK3.EXE",
       {"C:\\Program Files (x86)\\RVK3\\RVK3.EXE"}},
      {"wine &\\RVK3.EXE -dir & -x", blank,
       "C:\\Program Files (x86)\\RVK3\\RVK3.EXE -dir C:\\Program Files (x86)\\RVK3 -x",
       {"C:\\Program Files (x86)\\RVK3\\RVK3.EXE", "-dir", "C:\\Program Files (x86)\\RVK3", "-x"}},
      // Quotes group what PROG itself holds; the folder's backslashes are
      // never read as escapes.
      {"wine \"&\\my host.exe\" \"a b\"", "D:\\R\\", "\"D:\\R\\my host.exe\" \"a b\"",
       {"D:\\R\\my host.exe", "a b"}},
      {"prog.exe", "D:\\R", "", {}},
      {" prog.exe -x", "D:\\R", "", {}},
      {"a&b c  &&", "X\\", "c  XX", {"c", "XX"}},
  };
  for (const auto& c : cases) {
    const ProgramToStart start = ProgramFromProg(c.prog, c.dir);
    EXPECT_EQ(start.params, c.params) << c.prog;
    EXPECT_EQ(start.args, c.args) << c.prog;
  }
}

TEST(BackupPath, LastThreeBytesBecomeSav) {
  EXPECT_EQ(BackupPath("C:\\WINDOWS\\RVK3.INI"), "C:\\WINDOWS\\RVK3.sav");
  EXPECT_EQ(BackupPath("ab"), "sav");
}

}  // namespace
}  // namespace tellu
