// The Files port on the real file system, in standard C++ only, so both front
// ends share it.  On Windows a path's Shift-JIS bytes become UTF-16 (never the
// system code page); elsewhere backslashes become slashes and the bytes pass.
#pragma once
#include <filesystem>

#include "platform/files.h"

namespace tellu {

class StdFiles : public Files {
 public:
  std::unique_ptr<File> Open(const std::string& path, OpenMode mode) override;
  bool Exists(const std::string& path) override;
  std::optional<uint64_t> Size(const std::string& path) override;
  bool Copy(const std::string& from, const std::string& to, bool fail_if_exists) override;
  bool Delete(const std::string& path) override;

  static std::filesystem::path NativePath(const std::string& path);
};

}  // namespace tellu
