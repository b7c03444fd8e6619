// Windows-style Shift-JIS paths as POSIX file names.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "files/std_files.h"

namespace tellu {
namespace {

struct PathCase {
  const char* sjis;
  std::optional<std::string> posix;
};

TEST(PosixPathTest, ConvertsToUtf8AndOnlyRealBackslashesBecomeSlashes) {
  const PathCase cases[] = {
      {"C:\\rvk3\\host.ini", "C:/rvk3/host.ini"},
      {"/home/u/logs/tellu", "/home/u/logs/tellu"},
      // 表 and ソ end in 5C: one character each, no slash.
      {"/w/\x95\x5C\\a", "/w/\xE8\xA1\xA8/a"},
      {"/w/\x83\x5C\x83\x74\x83\x67\\x.mov", "/w/\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88/x.mov"},
      {"\x83\x66\x83\x82\\log", "\xE3\x83\x87\xE3\x83\xA2/log"},
      // Half-width katakana, and the full-width backslash 81 5F, which stays.
      {"\xB1\\\x81\x5F", "\xEF\xBD\xB1/\xEF\xBC\xBC"},
      {"", ""},
      // No Unicode form: a lone lead byte, an unassigned pair, a NUL.
      {"/w/\x81", std::nullopt},
      {"/w/\x85\x40", std::nullopt},
  };
  for (const PathCase& c : cases) EXPECT_EQ(PosixPath(c.sjis), c.posix) << c.sjis;
  EXPECT_EQ(PosixPath(std::string("/w/a\0b", 6)), std::nullopt);
}

TEST(PosixPathTest, DrivesLeadIntoTheDriveFolder) {
  const struct {
    const char* posix;
    const char* drives;
    const char* native;
  } cases[] = {
      {"C:/zenmo/rvk3", "/p/dosdevices", "/p/dosdevices/c:/zenmo/rvk3"},
      {"z:/home/u", "/p/dosdevices", "/p/dosdevices/z:/home/u"},
      {"D:", "/p/dosdevices", "/p/dosdevices/d:/"},
      {"C:/zenmo", "", "C:/zenmo"},
      {"/home/u/C:/x", "/p/dosdevices", "/home/u/C:/x"},
      {"C:x", "/p/dosdevices", "C:x"},
      {"1:/x", "/p/dosdevices", "1:/x"},
      {"rvk3/host.ini", "/p/dosdevices", "rvk3/host.ini"},
  };
  for (const auto& c : cases) EXPECT_EQ(OnDrive(c.posix, c.drives), c.native) << c.posix;
}

#ifndef _WIN32
// On Windows StdFiles hands the names to the wide API instead.
TEST(PosixPathTest, FilesOpenUnderTheUtf8NameOrNotAtAll) {
  const auto dir = std::filesystem::temp_directory_path() / "tellu_posix_path_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "\xE8\xA1\xA8");
  StdFiles files;
  const std::string base = dir.string() + "\\";
  ASSERT_NE(files.Open(base + "\x95\x5C\\a.txt", OpenMode::Write), nullptr);
  EXPECT_TRUE(std::filesystem::is_regular_file(dir / "\xE8\xA1\xA8" / "a.txt"));
  EXPECT_TRUE(files.Exists(base + "\x95\x5C\\a.txt"));
  EXPECT_EQ(files.Open(base + "\x85\x40.txt", OpenMode::Write), nullptr);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                          std::filesystem::directory_iterator()),
            1);
  std::filesystem::remove_all(dir);
}
#endif

}  // namespace
}  // namespace tellu
