// Where tellu-cli keeps the chat log when tellu.ini names no LogName: the
// user's state folder.  The program's own folder (the Windows program's
// rule) is /usr/bin for an installed tellu-cli, where no log can be written.
#pragma once
#include <memory>
#include <optional>
#include <string>

#include "platform/files.h"

namespace tellu {

// $XDG_STATE_HOME/tellu/ when that is an absolute path, else
// $HOME/.local/state/tellu/; empty without either (null: not set).
std::string StateLogFolder(const char* xdg_state_home, const char* home);

// The folder as the LogName value of the tellu.ini at `ini` (both native
// paths), in Shift-JIS.  Inside a Wine prefix it is written in Windows form
// through the prefix's drive that holds it ("Z:\home\...\"), so that
// tellu.exe reading the same file finds the folder too; elsewhere it is the
// path itself.  Nothing when the folder has no Shift-JIS name.
std::optional<std::string> LogNameValue(const std::string& folder, const std::string& ini);

// Files that makes the log folder (private to the user) the first time a
// file in it is opened for writing.
class LogFolderFiles : public Files {
 public:
  explicit LogFolderFiles(Files& files) : files_(files) {}
  // Empty: no folder is made.
  void set_folder(std::string native_folder) { folder_ = std::move(native_folder); }
  std::unique_ptr<File> Open(const std::string& path, OpenMode mode) override;
  bool Exists(const std::string& path) override { return files_.Exists(path); }
  std::optional<uint64_t> Size(const std::string& path) override { return files_.Size(path); }
  bool Copy(const std::string& from, const std::string& to, bool fail_if_exists) override {
    return files_.Copy(from, to, fail_if_exists);
  }
  bool Delete(const std::string& path) override { return files_.Delete(path); }

 private:
  Files& files_;
  std::string folder_;
};

}  // namespace tellu
