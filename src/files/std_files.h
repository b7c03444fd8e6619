// The Files port on the real file system, in standard C++ only, so both front
// ends share it.  On Windows a path's Shift-JIS bytes become UTF-16 (never the
// system code page); elsewhere they become UTF-8 and real backslashes "/".
#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace tellu {

// A Windows-style Shift-JIS path as a POSIX file name in UTF-8: only a
// backslash character becomes "/" (never the second byte of a double-byte
// character such as 表 or ソ).  Nothing for a path that holds a byte
// sequence with no Unicode form, or a NUL.
std::optional<std::string> PosixPath(std::string_view sjis);

// A POSIX path that starts with a drive ("C:/...") as the file under Wine's
// drive folder ("<drives>/c:/..."); any other path as it is.
std::string OnDrive(const std::string& posix, const std::string& drives);

class StdFiles : public Files {
 public:
  std::unique_ptr<File> Open(const std::string& path, OpenMode mode) override;
  bool Exists(const std::string& path) override;
  std::optional<uint64_t> Size(const std::string& path) override;
  bool Copy(const std::string& from, const std::string& to, bool fail_if_exists) override;
  bool Delete(const std::string& path) override;

  static std::filesystem::path NativePath(const std::string& path);

  // Away from Windows: the folder whose "c:", "d:", ... lead to the drives
  // that paths such as "C:\x" name (a Wine prefix's dosdevices); empty
  // leaves such paths as they are.  Set once at start.
  static void SetDriveFolder(std::string native_folder);
  // A path as this system's file name (UTF-8, drives mapped), or nothing.
  static std::optional<std::string> PosixName(const std::string& path);
};

}  // namespace tellu
