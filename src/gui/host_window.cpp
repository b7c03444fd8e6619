#include "gui/host_window.h"

#include "win32/wide_text.h"

namespace tellu {
namespace {

struct Search {
  std::wstring title;
  std::wstring caption;  // scratch
  HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<Search*>(param);
  const int length = GetWindowTextLengthW(window);
  if (length != static_cast<int>(search.title.size())) return TRUE;
  search.caption.assign(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(window, search.caption.data(), length + 1);
  if (got != length || search.caption.compare(0, search.title.size(), search.title) != 0)
    return TRUE;
  search.found = window;
  return FALSE;
}

}  // namespace

HWND FindTopLevelWindow(const std::string& title) {
  // FindWindowW would ignore case; the caption must match exactly.
  Search search;
  search.title = Wide(title);
  if (search.title.empty()) return nullptr;
  EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool RecheckHostWindow(const std::string& title, HWND host) {
  if (!host) return false;
  for (HWND w = FindTopLevelWindow(title); w; w = GetWindow(w, GW_HWNDNEXT))
    if (w == host) return true;
  return false;
}

bool HostTaggedByLauncher(const std::string& title) {
  return FindTopLevelWindow(title + " with Tellu.") != nullptr;
}

}  // namespace tellu
