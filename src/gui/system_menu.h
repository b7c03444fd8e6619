// The input bar's system menu: the program's commands after the window's own,
// grayed and checked as the run goes; and the information box's text.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace tellu {

class SystemMenu {
 public:
  // Once, while the bar initialises: Restore and Maximize go, a separator and
  // the program's items follow (the chat items in launch mode only, those
  // that need a login grayed).  Left alone when the string table lacks its
  // texts.
  void Extend(HWND bar, bool launch_mode);
  // The login passed: the Who, avatar change and avatar request items.
  void EnableLoginItems(bool enable);
  // The log window and the Real-time Who window are open.
  void CheckLog(bool on);
  void CheckWho(bool on);

 private:
  HMENU menu_ = nullptr;
};

// A string of the program's string table.
std::wstring ResourceString(int id);

// `format` with each of its conversions ("%lu", "%c", "%s", "%d"...) replaced
// by the next of `values`, in order; "%%" is a percent sign.  A conversion
// without a value is left out.
std::wstring FillFormat(std::wstring_view format, const std::vector<std::wstring>& values);

// The information box's text: free and total memory (string 107), then the
// free space of the current drive (string 108), or string 109 when it cannot
// be had.
std::wstring InformationText();

}  // namespace tellu
