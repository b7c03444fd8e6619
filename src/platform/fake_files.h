// Test double of the Files port: an in-memory file system keyed by path
// (compared as given, so tests use one spelling per file).
#pragma once
#include <map>
#include <set>

#include "platform/files.h"

namespace tellu {

class FakeFiles : public Files {
 public:
  std::unique_ptr<File> Open(const std::string& path, OpenMode mode) override;
  bool Exists(const std::string& path) override { return files_.count(path) != 0; }
  std::optional<uint64_t> Size(const std::string& path) override;
  bool Copy(const std::string& from, const std::string& to, bool fail_if_exists) override;
  bool Delete(const std::string& path) override { return files_.erase(path) != 0; }

  // Direct access for tests.
  std::map<std::string, std::string>& contents() { return files_; }
  const std::string& Get(const std::string& path) { return files_[path]; }
  void Put(const std::string& path, std::string bytes) { files_[path] = std::move(bytes); }
  // Paths that fail to open (in any mode), to test failure paths.
  std::set<std::string> unopenable;
  // Flush calls on any file opened here.
  int flushes = 0;

 private:
  std::map<std::string, std::string> files_;
};

}  // namespace tellu
