// Ui port: what the core asks of the front end's windows.  Texts are Shift-JIS.
#pragma once
#include <functional>
#include <string>

namespace tellu {

enum class NoticeIcon { None, Information, Exclamation, Stop };

class Ui {
 public:
  virtual ~Ui() = default;
  // A message box: caption and text; returns at once in the console.
  virtual void Notice(const std::string& text, const std::string& caption, NoticeIcon icon) = 0;
  // A Yes/No question; answer is called later, on the loop, exactly once.
  virtual void Ask(const std::string& text, const std::string& caption,
                   std::function<void(bool yes)> answer) = 0;
  // The system beep of the stop icon (a refused delivery).
  virtual void Beep() = 0;
  // Flashes or un-flashes the bar's caption (pending avatar requests).
  virtual void Flash(bool on) = 0;
  // The log store has new entries / the object table changed (WM_USER+100).
  virtual void LogChanged() = 0;
  virtual void WhoChanged() = 0;
  // The user's status changed: button picture and window icon.
  virtual void StatusChanged(int index) = 0;
  // The login passed: the Who, avatar change and avatar request items.
  virtual void EnableLoginItems(bool enable) = 0;
  // Opens the Real-time Who window, or closes it when open (the first login
  // restores a window that was open when the program last ended).
  virtual void ToggleWhoWindow() = 0;
};

}  // namespace tellu
