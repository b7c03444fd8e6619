// A child control whose messages pass through an object first: for controls
// that handle their own mouse messages (the log view, the Who list).
#pragma once
#include <windows.h>

namespace tellu {

// The object must outlive the attachment; Detach() or the destructor puts
// the control's own procedure back, and the control's destruction ends the
// attachment by itself.
class SubclassedControl {
 public:
  SubclassedControl() = default;
  virtual ~SubclassedControl() { Detach(); }
  SubclassedControl(const SubclassedControl&) = delete;
  SubclassedControl& operator=(const SubclassedControl&) = delete;

  bool Attach(HWND control);
  void Detach();
  HWND hwnd() const { return hwnd_; }

 protected:
  // Every message of the control; the control's own handling unless
  // overridden.
  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT CallOriginal(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;
  WNDPROC original_ = nullptr;
};

}  // namespace tellu
