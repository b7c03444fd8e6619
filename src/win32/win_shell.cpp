#include "win32/win_shell.h"

#include <windows.h>
#include <shellapi.h>

#include "win32/wide_text.h"

namespace tellu {
namespace {

bool Execute(const std::wstring& file, const std::wstring& params, const std::wstring& folder) {
  const HINSTANCE result =
      ShellExecuteW(nullptr, L"open", file.c_str(), params.empty() ? nullptr : params.c_str(),
                    folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL);
  // Values up to 32 are errors.
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace

bool WinShell::Open(const std::string& document) { return Execute(Wide(document), {}, {}); }

bool WinShell::Start(const std::string& program, const std::string& params,
                     const std::string& folder) {
  return Execute(Wide(program), Wide(params), Wide(folder));
}

}  // namespace tellu
