#include "win32/win_registry.h"

#include <windows.h>

#include <vector>

#include "win32/wide_text.h"

namespace tellu {
namespace {

bool Read(const std::wstring& key, const std::wstring& name, REGSAM view, std::wstring& out) {
  HKEY handle;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE | view, &handle) !=
      ERROR_SUCCESS)
    return false;
  DWORD type = 0, size = 0;
  bool ok = false;
  if (RegQueryValueExW(handle, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    // Room for a terminator the stored value may lack.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = size;
    if (RegQueryValueExW(handle, name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &got) == ERROR_SUCCESS) {
      const size_t count = got / sizeof(wchar_t) < buffer.size() ? got / sizeof(wchar_t) : 0;
      out.assign(buffer.data(), count);
      out.resize(wcsnlen(out.c_str(), out.size()));
      ok = true;
    }
  }
  RegCloseKey(handle);
  return ok;
}

}  // namespace

std::string WinRegistry::ReadLocalMachine(const std::string& key, const std::string& name) {
  std::wstring value;
  if (Read(Wide(key), Wide(name), KEY_WOW64_32KEY, value) ||
      Read(Wide(key), Wide(name), 0, value))
    return Sjis(value);
  return {};
}

}  // namespace tellu
