#include "gui/system_menu.h"

#include <direct.h>

#include <cstdint>
#include <cwchar>

#include "bar/system_menu_items.h"
#include "res/resource.h"

namespace tellu {

static_assert(kAboutString == IDS_ABOUT && kMessageTableString == IDS_MESSAGE_TABLE &&
              kLogString == IDS_LOG && kSettingsString == IDS_SETTINGS && kWhoString == IDS_WHO &&
              kAvatarChangeString == IDS_AVATAR_CHANGE &&
              kAvatarRequestString == IDS_AVATAR_REQUEST && kHelpString == IDS_HELP);

void SystemMenu::Extend(HWND bar, bool launch_mode) {
  if (ResourceString(IDS_ABOUT).empty()) return;
  menu_ = GetSystemMenu(bar, FALSE);
  if (!menu_) return;
  DeleteMenu(menu_, SC_RESTORE, MF_BYCOMMAND);
  DeleteMenu(menu_, SC_MAXIMIZE, MF_BYCOMMAND);
  AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
  for (const SystemMenuItem& item : SystemMenuItems(launch_mode)) {
    const UINT state = item.grayed_until_login ? MF_GRAYED : MF_ENABLED;
    AppendMenuW(menu_, MF_STRING | state, static_cast<UINT_PTR>(item.command),
                ResourceString(item.string_id).c_str());
  }
}

void SystemMenu::EnableLoginItems(bool enable) {
  if (!menu_) return;
  const UINT state = MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED);
  for (int command : {kWhoCommand, kAvatarChangeCommand, kAvatarRequestCommand})
    EnableMenuItem(menu_, static_cast<UINT>(command), state);
}

void SystemMenu::CheckLog(bool on) {
  if (menu_) CheckMenuItem(menu_, kLogCommand, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void SystemMenu::CheckWho(bool on) {
  if (menu_) CheckMenuItem(menu_, kWhoCommand, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

std::wstring ResourceString(int id) {
  // With a zero length LoadStringW hands out a pointer to the resource itself.
  const wchar_t* text = nullptr;
  const int length = LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(id),
                                 reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || !text) return {};
  return std::wstring(text, static_cast<size_t>(length));
}

std::wstring FillFormat(std::wstring_view format, const std::vector<std::wstring>& values) {
  std::wstring out;
  size_t next = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != L'%' || i + 1 == format.size()) {
      out += format[i];
      continue;
    }
    if (format[i + 1] == L'%') {
      out += L'%';
      ++i;
      continue;
    }
    // Flags, width and length letters up to the conversion letter.
    size_t end = i + 1;
    while (end < format.size() && !wcschr(L"cdiosuxX", format[end])) ++end;
    if (end == format.size()) {
      out.append(format.substr(i));
      break;
    }
    if (next < values.size()) out += values[next++];
    i = end;
  }
  return out;
}

std::wstring InformationText() {
  MEMORYSTATUSEX memory{};
  memory.dwLength = sizeof memory;
  GlobalMemoryStatusEx(&memory);
  std::wstring text =
      FillFormat(ResourceString(IDS_FREE_MEMORY), {std::to_wstring(memory.ullAvailPhys / 1024),
                                                   std::to_wstring(memory.ullTotalPhys / 1024)});
  DWORD sectors = 0, bytes = 0, free_clusters = 0, clusters = 0;
  const int drive = _getdrive();
  if (drive >= 1 && drive <= 26 &&
      GetDiskFreeSpaceW(nullptr, &sectors, &bytes, &free_clusters, &clusters)) {
    // In 64 bits: free space beyond 4 GB is the rule today.
    const uint64_t free_kb = uint64_t{free_clusters} * sectors * bytes / 1024;
    text += FillFormat(ResourceString(IDS_DISK_SPACE),
                       {std::to_wstring(free_kb), std::wstring(1, wchar_t(L'A' + drive - 1))});
  } else {
    text += ResourceString(IDS_UNKNOWN);
  }
  return text;
}

}  // namespace tellu
