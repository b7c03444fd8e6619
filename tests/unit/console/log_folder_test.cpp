// The log folder of a slot without LogName: the user's state folder, written
// into tellu.ini in the form the Windows program reading the same file needs,
// and made when the log is first written.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "console/log_folder.h"
#include "files/std_files.h"

namespace tellu {
namespace {
namespace fs = std::filesystem;

TEST(StateLogFolder, XdgStateHomeElseHomeElseNone) {
  const struct {
    const char* xdg;
    const char* home;
    const char* folder;
  } cases[] = {
      {"/st", "/home/u", "/st/tellu/"},
      {"/st/", "/home/u", "/st/tellu/"},
      {nullptr, "/home/u", "/home/u/.local/state/tellu/"},
      {"", "/home/u/", "/home/u/.local/state/tellu/"},
      // A relative value is no base folder.
      {"st", "/home/u", "/home/u/.local/state/tellu/"},
      {nullptr, nullptr, ""},
      {"", "", ""},
      {"st", "home", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(StateLogFolder(c.xdg, c.home), c.folder)
        << (c.xdg ? c.xdg : "(unset)") << " " << (c.home ? c.home : "(unset)");
}

class LogFolderTest : public ::testing::Test {
 protected:
  LogFolderTest() {
    char name[] = "/tmp/tellu-logfolder-XXXXXX";
    root = fs::path(mkdtemp(name));
    prefix = root / "prefix";
    fs::create_directories(prefix / "drive_c" / "windows");
    fs::create_directories(prefix / "dosdevices");
    fs::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
    fs::create_directory_symlink("/", prefix / "dosdevices" / "z:");
    StdFiles::SetDriveFolder((prefix / "dosdevices").string());
  }
  ~LogFolderTest() override {
    StdFiles::SetDriveFolder("");
    fs::remove_all(root);
  }
  // Windows form of a native path below "/".
  static std::string OnZ(const fs::path& p) {
    std::string s = "Z:" + p.string();
    for (char& c : s)
      if (c == '/') c = '\\';
    return s;
  }

  fs::path root, prefix;
};

TEST_F(LogFolderTest, WindowsFormInsideAPrefixThePathItselfOutside) {
  const std::string in_prefix = (prefix / "drive_c" / "windows" / "TELLU.INI").string();
  const std::string outside = (root / "tellu.ini").string();
  const std::string state = (root / "state" / "tellu/").string();
  const std::string users = (prefix / "drive_c" / "users" / "u" / "tellu/").string();
  const struct {
    std::string folder, ini, value;
  } cases[] = {
      {state, in_prefix, OnZ(root / "state" / "tellu") + "\\"},
      // The drive nearest to the folder: C: for what lies in drive_c.
      {users, in_prefix, "C:\\users\\u\\tellu\\"},
      {state, outside, state},
      {(root / "state" / "tellu").string(), outside, state},
      // A folder with a Japanese name, in Shift-JIS; 表 ends in a 5C byte.
      {(root / "\xE8\xA1\xA8" / "tellu/").string(), in_prefix,
       OnZ(root) + "\\\x95\x5C\\tellu\\"},
      {(root / "\xE8\xA1\xA8" / "tellu/").string(), outside,
       root.string() + "/\x95\x5C/tellu/"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LogNameValue(c.folder, c.ini), c.value) << c.folder << " " << c.ini;
    // This run reads the value back as the same folder.
    const auto back = StdFiles::PosixName(c.value + "x.txt");
    ASSERT_TRUE(back) << c.value;
    EXPECT_EQ(fs::weakly_canonical(*back).parent_path(),
              fs::weakly_canonical(fs::path(c.folder).string() + "/x.txt").parent_path());
  }
  // A prefix this run does not read its drives through gets the path itself.
  StdFiles::SetDriveFolder("");
  EXPECT_EQ(LogNameValue(state, in_prefix), state);
  // No Shift-JIS name: nothing at all.
  EXPECT_FALSE(LogNameValue((root / "\xF0\x9F\x98\x80/").string(), outside));
}

TEST_F(LogFolderTest, TheFolderIsMadePrivateOnTheFirstWriteIntoIt) {
  StdFiles std_files;
  LogFolderFiles files(std_files);
  const fs::path state = root / "home" / ".local" / "state" / "tellu";
  files.set_folder(state.string() + "/");
  const std::string log = *LogNameValue(state.string() + "/", (root / "tellu.ini").string()) +
                          "091209.txt";
  // Reading, or writing elsewhere, makes nothing.
  EXPECT_FALSE(files.Open(log, OpenMode::Read));
  EXPECT_FALSE(files.Open((root / "other" / "x.txt").string(), OpenMode::Append));
  EXPECT_FALSE(fs::exists(root / "home"));
  EXPECT_FALSE(fs::exists(root / "other"));

  auto file = files.Open(log, OpenMode::Append);
  ASSERT_TRUE(file);
  EXPECT_TRUE(file->Write("line\r\n"));
  file.reset();
  EXPECT_TRUE(fs::is_regular_file(state / "091209.txt"));
  for (const fs::path& made : {root / "home", root / "home" / ".local", state})
    EXPECT_EQ(fs::status(made).permissions() & fs::perms::all, fs::perms::owner_all) << made;
  // Once it is there the file opens as any other.
  EXPECT_TRUE(files.Open(log, OpenMode::Append));
}

}  // namespace
}  // namespace tellu
