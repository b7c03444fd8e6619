#include "gui/bar_keys.h"

#include <utility>

namespace tellu {
namespace {

constexpr wchar_t kNoKeys[] = L"TelluNoKeys";

// The filter of this thread (the user-interface thread is the only one).
thread_local BarKeyFilter* current = nullptr;

// What a window that ignores keys does not get; system keys still move and
// close it.
bool IsKeyMessage(UINT message) {
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR;
}

}  // namespace

BarKey BarKeyOf(WPARAM virtual_key) {
  switch (virtual_key) {
    case VK_ESCAPE: return BarKey::kEscape;
    case VK_TAB: return BarKey::kTab;
    case VK_F1: return BarKey::kF1;
    case VK_F3: return BarKey::kF3;
    case VK_F4: return BarKey::kF4;
    case VK_PRIOR: return BarKey::kPageUp;
    case VK_NEXT: return BarKey::kPageDown;
    case VK_HOME: return BarKey::kHome;
    case VK_LEFT: return BarKey::kLeft;
    case VK_RIGHT: return BarKey::kRight;
    case VK_UP: return BarKey::kUp;
    case VK_DOWN: return BarKey::kDown;
    default: return BarKey::kOther;
  }
}

BarKeyFilter::BarKeyFilter(HWND bar, HWND edit, std::function<bool()> launch_mode,
                           std::function<bool(BarAction)> act)
    : bar_(bar), edit_(edit), launch_mode_(std::move(launch_mode)), act_(std::move(act)) {
  current = this;
  // A message hook rather than the loop's own code: the bar's keys must be
  // seen first in any loop that runs (the modal dialog's, a message box's).
  hook_ = SetWindowsHookExW(WH_GETMESSAGE, Hook, nullptr, GetCurrentThreadId());
}

BarKeyFilter::~BarKeyFilter() {
  if (hook_) UnhookWindowsHookEx(hook_);
  if (current == this) current = nullptr;
}

void BarKeyFilter::IgnoreKeys(HWND window) { SetPropW(window, kNoKeys, HANDLE(1)); }

LRESULT CALLBACK BarKeyFilter::Hook(int code, WPARAM wparam, LPARAM lparam) {
  // Only messages taken off the queue: a peek that leaves one there sees it again.
  if (code == HC_ACTION && wparam == PM_REMOVE && current) {
    MSG& message = *reinterpret_cast<MSG*>(lparam);
    if (current->Filter(message)) message.message = WM_NULL;
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

bool BarKeyFilter::Filter(const MSG& message) {
  if (!message.hwnd || !IsKeyMessage(message.message)) return false;
  const HWND root = GetAncestor(message.hwnd, GA_ROOT);
  if (root && GetPropW(root, kNoKeys)) return true;
  if (message.message != WM_KEYDOWN || root != bar_) return false;
  KeyModifiers mods;
  mods.shift = GetKeyState(VK_SHIFT) < 0;
  mods.ctrl = GetKeyState(VK_CONTROL) < 0;
  const BarAction action = KeyAction(BarKeyOf(message.wParam), mods, message.hwnd == edit_,
                                     launch_mode_ && launch_mode_());
  if (action == BarAction::kDefault) return false;
  if (action == BarAction::kSwallow) return true;
  return act_ && act_(action);
}

}  // namespace tellu
