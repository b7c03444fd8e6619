// The program's thin window layer: a C++ object behind each window or
// dialog, found again from the handle in the window procedure.
#pragma once
#include <windows.h>

#include <functional>

namespace tellu {

// A plain window.  The object must outlive its window or destroy it first;
// the destructor destroys a window still open, without telling the object.
class Window {
 public:
  struct Class {
    const wchar_t* name;
    UINT style = 0;
    HCURSOR cursor = nullptr;  // nullptr: the arrow
    HBRUSH background = nullptr;
    HICON icon = nullptr;
  };

  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }

 protected:
  // Registers the class on first use (with its class style: a class is
  // registered once, so one name always has one style) and creates the window.
  bool Create(const Class& window_class, const wchar_t* title, DWORD style, DWORD ex_style,
              int x, int y, int width, int height, HWND parent, HMENU menu = nullptr);
  // Every message from WM_NCCREATE to WM_NCDESTROY; DefWindowProcW unless
  // overridden.
  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  // The window is gone (after WM_NCDESTROY); a window that owns itself may
  // delete itself here.
  virtual void Destroyed() {}

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;
};

// A dialog from a template: modal, with its own message loop, or modeless.
class Dialog {
 public:
  Dialog() = default;
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  HWND hwnd() const { return hwnd_; }
  bool modal() const { return modal_; }

  // Runs the dialog until End(); returns End's result, or -1 when the
  // dialog could not be created.  The owner is disabled meanwhile and hears
  // WM_ENTERIDLE whenever the dialog waits for input, as with DialogBox.
  INT_PTR RunModal(HWND owner, int template_id);
  INT_PTR RunModal(HWND owner, const DLGTEMPLATE* in_memory);
  bool CreateModeless(HWND owner, int template_id);
  bool CreateModeless(HWND owner, const DLGTEMPLATE* in_memory);
  // Ends a modal dialog (its loop returns result), or destroys a modeless one.
  void End(INT_PTR result);

  // Keyboard navigation of the open modeless dialogs, for a message loop:
  // true when the message was theirs.
  static bool PreTranslate(MSG& message);
  // A modeless dialog of the system's (the Find dialog) in that navigation.
  static void AddModeless(HWND dialog);
  static void RemoveModeless(HWND dialog);

 protected:
  virtual BOOL OnInitDialog() { return TRUE; }
  // A dialog procedure's answer: FALSE for messages left to the system.
  // IDOK and IDCANCEL commands left unhandled end the dialog.
  virtual INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  virtual void Destroyed() {}
  // Returns a message's result from HandleMessage (DWLP_MSGRESULT).
  INT_PTR Result(LRESULT result);

 private:
  HWND Make(HWND owner, int template_id, const DLGTEMPLATE* in_memory);
  INT_PTR Modal(HWND owner, int template_id, const DLGTEMPLATE* in_memory);
  bool Modeless(HWND owner, int template_id, const DLGTEMPLATE* in_memory);
  static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

  HWND hwnd_ = nullptr;
  bool modal_ = false;
  bool ended_ = false;
  INT_PTR result_ = 0;
};

// Draws a WM_PAINT or WM_PRINTCLIENT of `window` with paint; false for any
// other message.
bool PaintMessage(HWND window, UINT message, WPARAM wparam,
                  const std::function<void(HDC)>& paint);

// A modal loop of the program's own: runs the thread's messages while
// go_on() holds.  take may claim a message before it is dispatched (keyboard
// navigation); idle runs each time the queue has emptied, before the wait.
// A WM_QUIT met on the way is put back for the outer loop and ends the run,
// as does a failing GetMessage: false then.
bool RunMessagesWhile(const std::function<bool()>& go_on,
                      const std::function<bool(MSG&)>& take = nullptr,
                      const std::function<void()>& idle = nullptr);

}  // namespace tellu
