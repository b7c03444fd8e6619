#include "win32/window.h"

#include <algorithm>
#include <vector>

namespace tellu {
namespace {

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

// Open modeless dialogs, for Dialog::PreTranslate.
std::vector<HWND>& OpenModeless() {
  static std::vector<HWND> dialogs;
  return dialogs;
}

}  // namespace

Window::~Window() {
  if (!hwnd_) return;
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
}

bool Window::Create(const Class& window_class, const wchar_t* title, DWORD style,
                    DWORD ex_style, int x, int y, int width, int height, HWND parent,
                    HMENU menu) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(Instance(), window_class.name, &wc)) {
    wc.style = window_class.style;
    wc.lpfnWndProc = Proc;
    wc.hInstance = Instance();
    wc.hCursor = window_class.cursor ? window_class.cursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = window_class.background;
    wc.hIcon = window_class.icon;
    wc.lpszClassName = window_class.name;
    if (!RegisterClassExW(&wc)) return false;
  }
  return CreateWindowExW(ex_style, window_class.name, title, style, x, y, width, height, parent,
                         menu, Instance(), this) != nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcW(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Window* self;
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  // Messages before WM_NCCREATE (WM_GETMINMAXINFO) and after detaching.
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  if (message != WM_NCDESTROY) return self->HandleMessage(message, wparam, lparam);
  const LRESULT result = self->HandleMessage(message, wparam, lparam);
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  self->hwnd_ = nullptr;
  self->Destroyed();
  return result;
}

Dialog::~Dialog() {
  if (!hwnd_) return;
  SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
  auto& open = OpenModeless();
  open.erase(std::remove(open.begin(), open.end(), hwnd_), open.end());
  DestroyWindow(hwnd_);
}

HWND Dialog::Make(HWND owner, int template_id, const DLGTEMPLATE* in_memory) {
  const LPARAM self = reinterpret_cast<LPARAM>(this);
  if (in_memory) return CreateDialogIndirectParamW(Instance(), in_memory, owner, Proc, self);
  return CreateDialogParamW(Instance(), MAKEINTRESOURCEW(template_id), owner, Proc, self);
}

INT_PTR Dialog::RunModal(HWND owner, int template_id) { return Modal(owner, template_id, nullptr); }

INT_PTR Dialog::RunModal(HWND owner, const DLGTEMPLATE* in_memory) {
  return Modal(owner, 0, in_memory);
}

INT_PTR Dialog::Modal(HWND owner, int template_id, const DLGTEMPLATE* in_memory) {
  if (hwnd_) return -1;
  modal_ = true;
  ended_ = false;
  result_ = 0;
  const HWND dialog = Make(owner, template_id, in_memory);
  if (!dialog) {
    modal_ = false;
    return -1;
  }
  const bool disable_owner = owner && IsWindowEnabled(owner);
  if (disable_owner) EnableWindow(owner, FALSE);
  if (!ended_) ShowWindow(dialog, SW_SHOW);
  // The loop is ours rather than DialogBox's so that the modeless dialogs
  // the modal one opens keep their keyboard navigation.
  std::function<void()> idle;
  if (owner && !(GetWindowLongW(dialog, GWL_STYLE) & DS_NOIDLEMSG))
    idle = [owner, dialog] {
      SendMessageW(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(dialog));
    };
  RunMessagesWhile(
      [this] { return !ended_; },
      [dialog](MSG& msg) { return IsDialogMessageW(dialog, &msg) || PreTranslate(msg); }, idle);
  // The owner comes back first, so that activation returns to it.
  if (disable_owner) EnableWindow(owner, TRUE);
  if (hwnd_) DestroyWindow(hwnd_);
  modal_ = false;
  return result_;
}

bool Dialog::CreateModeless(HWND owner, int template_id) {
  return Modeless(owner, template_id, nullptr);
}

bool Dialog::CreateModeless(HWND owner, const DLGTEMPLATE* in_memory) {
  return Modeless(owner, 0, in_memory);
}

bool Dialog::Modeless(HWND owner, int template_id, const DLGTEMPLATE* in_memory) {
  if (hwnd_) return false;
  modal_ = false;
  // A dialog may end itself while it initialises.
  if (!Make(owner, template_id, in_memory) || !hwnd_) return false;
  OpenModeless().push_back(hwnd_);
  return true;
}

void Dialog::End(INT_PTR result) {
  if (!hwnd_) return;
  if (!modal_) {
    DestroyWindow(hwnd_);
    return;
  }
  result_ = result;
  ended_ = true;
  // Wakes the loop when End comes from a message it never sees returning
  // (a sent message, a nested loop's).
  PostMessageW(hwnd_, WM_NULL, 0, 0);
}

bool Dialog::PreTranslate(MSG& message) {
  // A copy: a dialog may close while it handles the message.
  const std::vector<HWND> open = OpenModeless();
  for (HWND dialog : open)
    if (IsWindow(dialog) && IsDialogMessageW(dialog, &message)) return true;
  return false;
}

void Dialog::AddModeless(HWND dialog) { OpenModeless().push_back(dialog); }

void Dialog::RemoveModeless(HWND dialog) {
  auto& open = OpenModeless();
  open.erase(std::remove(open.begin(), open.end(), dialog), open.end());
}

INT_PTR Dialog::HandleMessage(UINT, WPARAM, LPARAM) { return FALSE; }

INT_PTR Dialog::Result(LRESULT result) {
  SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
  return TRUE;
}

INT_PTR CALLBACK Dialog::Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Dialog* self;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lparam);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, DWLP_USER, lparam);
    return self->OnInitDialog();
  }
  self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!self) return FALSE;
  if (message == WM_NCDESTROY) {
    self->HandleMessage(message, wparam, lparam);
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    auto& open = OpenModeless();
    open.erase(std::remove(open.begin(), open.end(), hwnd), open.end());
    self->hwnd_ = nullptr;
    // Destroyed by someone else: a modal loop must not wait for End.
    if (self->modal_) self->ended_ = true;
    self->Destroyed();
    return FALSE;
  }
  const INT_PTR handled = self->HandleMessage(message, wparam, lparam);
  if (!handled && message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED &&
      (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL)) {
    self->End(LOWORD(wparam));
    return TRUE;
  }
  return handled;
}

bool PaintMessage(HWND window, UINT message, WPARAM wparam,
                  const std::function<void(HDC)>& paint) {
  if (message == WM_PRINTCLIENT) {
    paint(reinterpret_cast<HDC>(wparam));
    return true;
  }
  if (message != WM_PAINT) return false;
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(window, &ps);
  paint(dc);
  EndPaint(window, &ps);
  return true;
}

bool RunMessagesWhile(const std::function<bool()>& go_on, const std::function<bool(MSG&)>& take,
                      const std::function<void()>& idle) {
  MSG msg;
  while (go_on()) {
    if (idle && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      idle();
      if (!go_on()) break;
    }
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
    if (got <= 0) return false;
    if (take && take(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

}  // namespace tellu
