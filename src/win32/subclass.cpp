#include "win32/subclass.h"

namespace tellu {
namespace {

// The property that finds the object again from the control's handle.
constexpr wchar_t kSelf[] = L"tellu.subclass";

}  // namespace

bool SubclassedControl::Attach(HWND control) {
  Detach();
  if (!control || !SetPropW(control, kSelf, this)) return false;
  hwnd_ = control;
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
  return true;
}

void SubclassedControl::Detach() {
  if (!hwnd_) return;
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
  RemovePropW(hwnd_, kSelf);
  hwnd_ = nullptr;
  original_ = nullptr;
}

LRESULT SubclassedControl::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return CallOriginal(message, wparam, lparam);
}

LRESULT SubclassedControl::CallOriginal(UINT message, WPARAM wparam, LPARAM lparam) {
  return CallWindowProcW(original_, hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK SubclassedControl::Proc(HWND hwnd, UINT message, WPARAM wparam,
                                         LPARAM lparam) {
  auto* self = static_cast<SubclassedControl*>(GetPropW(hwnd, kSelf));
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  if (message != WM_NCDESTROY) return self->HandleMessage(message, wparam, lparam);
  const WNDPROC original = self->original_;
  self->Detach();
  return CallWindowProcW(original, hwnd, message, wparam, lparam);
}

}  // namespace tellu
