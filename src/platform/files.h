// Files port: the core's only way to the file system.  Paths are Windows-style
// strings (Shift-JIS bytes, backslashes); an implementation off Windows maps
// "\" to "/" when it opens a file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tellu {

class File {
 public:
  virtual ~File() = default;
  // Reads up to n bytes; returns how many were read, 0 at the end or on error.
  virtual size_t Read(char* buffer, size_t n) = 0;
  virtual bool Write(std::string_view bytes) = 0;
  virtual bool Flush() = 0;
};

enum class OpenMode {
  Read,      // existing file, from the start
  Write,     // created or emptied
  Append,    // created if missing, writes go to the end
};

class Files {
 public:
  virtual ~Files() = default;
  virtual std::unique_ptr<File> Open(const std::string& path, OpenMode mode) = 0;
  virtual bool Exists(const std::string& path) = 0;
  virtual std::optional<uint64_t> Size(const std::string& path) = 0;
  // Copies a file; with fail_if_exists an existing target is left alone and
  // the call fails.
  virtual bool Copy(const std::string& from, const std::string& to, bool fail_if_exists) = 0;
  virtual bool Delete(const std::string& path) = 0;

  // Whole-file helpers on top of Open.
  bool ReadAll(const std::string& path, std::string& out);
  bool WriteAll(const std::string& path, std::string_view bytes);
};

}  // namespace tellu
