#include "win32/win_places.h"

#include <windows.h>

#include "text/paths.h"
#include "win32/wide_text.h"

namespace tellu {

std::string WindowsDirectory() {
  wchar_t path[MAX_PATH];
  const UINT n = GetWindowsDirectoryW(path, MAX_PATH);
  return n > 0 && n < MAX_PATH ? Sjis(std::wstring_view(path, n)) : std::string();
}

std::string ProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) return Sjis(std::wstring_view(path.data(), n));
    // Cut short: a longer buffer.
    path.resize(path.size() * 2);
  }
}

std::string WinProfilePath(Files& files, const std::string& windows_dir,
                           const std::string& program_path) {
  const std::string in_windows = JoinPath(windows_dir, "TELLU.INI");
  if (!windows_dir.empty() && files.Exists(in_windows)) return in_windows;
  const std::string_view name = FileNamePart(program_path);
  return program_path.substr(0, program_path.size() - name.size()) + "tellu.ini";
}

}  // namespace tellu
