#include "console/log_folder.h"

#include <filesystem>
#include <system_error>

#include "files/std_files.h"
#include "text/sjis.h"

namespace tellu {
namespace fs = std::filesystem;
namespace {

std::string WithSlash(std::string dir) {
  if (dir.back() != '/') dir += '/';
  return dir;
}

// A folder's path without links or a closing "/", as paths are compared.
fs::path Plain(std::string dir) {
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  std::error_code ec;
  fs::path plain = fs::weakly_canonical(dir, ec);
  return ec ? fs::path() : plain;
}

// The prefix's dosdevices folder when `ini` lies inside a Wine prefix.
fs::path PrefixDrives(const fs::path& ini) {
  std::error_code ec;
  const fs::path file = fs::weakly_canonical(ini, ec);
  if (ec) return {};
  for (fs::path p = file.parent_path(); !p.empty(); p = p.parent_path()) {
    if (fs::is_directory(p / "dosdevices", ec) && fs::is_directory(p / "drive_c", ec))
      return p / "dosdevices";
    if (p == p.root_path()) break;
  }
  return {};
}

// "X:\" and the rest of `folder` below the drive that holds it; of several
// (C: for drive_c, Z: for "/") the one nearest to it.  Empty when none does.
std::string WindowsForm(const fs::path& drives, const fs::path& folder) {
  std::error_code ec;
  std::string best;
  size_t best_length = 0;
  for (const auto& entry : fs::directory_iterator(drives, ec)) {
    const std::string name = entry.path().filename().string();
    const char letter = name.empty() ? '\0' : static_cast<char>(name[0] & ~0x20);
    if (name.size() != 2 || name[1] != ':' || letter < 'A' || letter > 'Z') continue;
    const fs::path target = fs::canonical(entry.path(), ec);
    if (ec) continue;
    const fs::path rest = folder.lexically_relative(target);
    if (rest.empty() || *rest.begin() == "..") continue;
    if (!best.empty() && target.native().size() <= best_length) continue;
    best_length = target.native().size();
    best = std::string(1, letter) + ":\\";
    for (const auto& part : rest) {
      if (part == ".") continue;
      best += part.string() + "\\";
    }
  }
  return best;
}

// The exact Shift-JIS form of a UTF-8 name, backslashes standing for "/".
std::optional<std::string> Sjis(const std::string& utf8) {
  std::string sjis = text::Utf8ToSjis(utf8);
  std::string slashed = utf8;
  for (char& c : slashed)
    if (c == '\\') c = '/';
  if (PosixPath(sjis) != slashed) return std::nullopt;
  return sjis;
}

}  // namespace

std::string StateLogFolder(const char* xdg_state_home, const char* home) {
  // Relative values are to be ignored: the folder would follow the working one.
  if (xdg_state_home && xdg_state_home[0] == '/') return WithSlash(xdg_state_home) + "tellu/";
  if (home && home[0] == '/') return WithSlash(home) + ".local/state/tellu/";
  return {};
}

std::optional<std::string> LogNameValue(const std::string& folder, const std::string& ini) {
  const fs::path place = Plain(folder);
  const fs::path drives = PrefixDrives(ini);
  if (!place.empty() && !drives.empty()) {
    const std::string windows = WindowsForm(drives, place);
    // This run must find it under that name too, or the log is lost to both.
    if (!windows.empty()) {
      const auto value = Sjis(windows);
      const auto back = value ? StdFiles::PosixName(*value) : std::nullopt;
      if (back && Plain(*back) == place) return value;
    }
  }
  return Sjis(WithSlash(folder));
}

std::unique_ptr<File> LogFolderFiles::Open(const std::string& path, OpenMode mode) {
  if (auto file = files_.Open(path, mode)) return file;
  if (mode == OpenMode::Read || folder_.empty()) return nullptr;
  const fs::path parent = Plain(StdFiles::NativePath(path).parent_path().string());
  if (parent.empty() || parent != Plain(folder_)) return nullptr;
  // Each missing level, the state folder itself included, private to the user.
  std::error_code ec;
  fs::path made;
  for (const auto& part : parent) {
    made /= part;
    if (fs::is_directory(made, ec)) continue;
    if (!fs::create_directory(made, ec)) return nullptr;
    fs::permissions(made, fs::perms::owner_all, ec);
  }
  return files_.Open(path, mode);
}

}  // namespace tellu
