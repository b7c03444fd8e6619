// Test helper: runs tellu.exe as a child process, from a folder of its own
// with the tellu.ini the test writes beside it, and finds its windows.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "child_process.h"
#include "fakehost_process.h"  // FileLines

namespace tellu::wintest {

// The Windows folder, and a file in it that lives as long as this object.
std::wstring WindowsDir();
class WindowsDirFile {
 public:
  WindowsDirFile(const std::wstring& name, const std::string& bytes);
  ~WindowsDirFile();
  const std::wstring& name() const { return name_; }
  const std::wstring& path() const { return path_; }
  std::string Read() const;

 private:
  std::wstring name_;
  std::wstring path_;
};

class TelluProcess {
 public:
  // Copies tellu.exe (TELLU_EXE) into a fresh folder under a name of its
  // own, so that it reads the `ini` written beside it and never a profile
  // of that name in the Windows folder.
  explicit TelluProcess(const std::string& ini);
  // Ends the process if it still runs and removes the folder.
  ~TelluProcess();
  TelluProcess(const TelluProcess&) = delete;
  TelluProcess& operator=(const TelluProcess&) = delete;

  bool Start(const std::wstring& args = L"");
  // The input bar, once it shows its title; nullptr when it does not.
  HWND WaitForBar();
  HWND Bar() const { return bar_; }
  // A message box of the process with this caption; nullptr when none comes.
  HWND WaitForMessageBox(const std::wstring& caption);
  // The text of the next such box, which is then answered with OK and waited
  // out; empty when none comes.
  std::wstring AnswerMessageBox(const std::wstring& caption);
  // A top-level window of the process of class `window_class`, or nullptr.
  HWND FindWindowOfClass(const std::wstring& window_class) const;
  // Waits for the process to end; its exit code, or -1 when it does not.
  int WaitForExit();
  // Waits until the bar has docked: the startup notice, destroyed when the
  // slide ends, is gone.
  bool WaitForDock();
  // A top-level window of the process that matches.
  HWND FindWindowWhere(const std::function<bool(HWND)>& match) const;

  const std::wstring& folder() const { return folder_; }
  const std::wstring& program() const { return program_; }
  // The tellu.ini it reads: its own path ending in "ini".
  std::wstring ini() const { return program_.substr(0, program_.size() - 3) + L"ini"; }
  HANDLE handle() const { return process_.handle(); }

 private:
  std::wstring folder_;
  std::wstring program_;
  ChildProcess process_;
  HWND bar_ = nullptr;
};

// Input to another process's windows, posted as the user's would arrive.
inline void Key(HWND window, UINT vk) { PostMessageW(window, WM_KEYDOWN, vk, 1); }
inline void Type(HWND edit, const std::wstring& text) {
  for (wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 1);
}
inline void ClickButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// The text of a message box; presses its OK button.
std::wstring MessageBoxText(HWND box);
void PressOk(HWND box);

// The text of another process's window, through WM_GETTEXT.
std::wstring WindowTextOf(HWND window);
// A window's class name.
std::wstring ClassOf(HWND window);

}  // namespace tellu::wintest
