// Ui port: what the core asks of the front end's windows.  Texts are Shift-JIS.
#pragma once
#include <functional>
#include <memory>
#include <string>

namespace tellu {

enum class NoticeIcon { None, Information, Exclamation, Stop };
// The system sounds of the message-box icons.
enum class BeepKind { Stop, Asterisk };

// The progress window of one avatar transfer: caption, two-line message,
// percentage, bar, animated face and a cancel button.  Destroying the view
// closes the window.
class ProgressView {
 public:
  virtual ~ProgressView() = default;
  virtual void SetTexts(const std::string& title, const std::string& message) = 0;
  // share: the percentage as shown ("  50.0 %"); bar: 0..100.
  virtual void SetShare(const std::string& share, int bar, const std::string& face) = 0;
  // Closes the window; the cancel callback is never called after this.
  virtual void Close() = 0;
};

// The user's status index, 0 to kStatusCount - 1; two have a meaning of their
// own, which the input bar and the chat stream both act on.
inline constexpr int kNormalStatus = 0;
inline constexpr int kAwayStatus = 1;
inline constexpr int kStatusCount = 7;

class Ui {
 public:
  virtual ~Ui() = default;
  // A message box: caption and text; returns at once in the console.
  virtual void Notice(const std::string& text, const std::string& caption, NoticeIcon icon) = 0;
  // A Yes/No question; answer is called later, on the loop, exactly once.
  virtual void Ask(const std::string& text, const std::string& caption,
                   std::function<void(bool yes)> answer) = 0;
  // A system beep: the stop icon's for a refused delivery, the asterisk's
  // for an avatar request.
  virtual void Beep(BeepKind kind) = 0;
  void Beep() { Beep(BeepKind::Stop); }
  // Flashes or un-flashes the bar's caption (pending avatar requests).
  virtual void Flash(bool on) = 0;
  // A whisper to the user came in and WhisperFlash is on: tellu.exe flashes
  // the host's taskbar button unless the user is in the host or the bar,
  // tellu-cli rings the bell when asked to.  Nothing elsewhere.
  virtual void WhisperFlash() {}
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
  // Opens a transfer's progress window, shown and active with empty texts.
  // cancel runs on the loop when the user cancels it, never after Close() or
  // the view's destruction; it may destroy the view.
  virtual std::unique_ptr<ProgressView> OpenProgress(std::function<void()> cancel) = 0;
};

}  // namespace tellu
