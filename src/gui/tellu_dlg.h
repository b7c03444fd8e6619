// CTelluDlg: the input bar, tellu.exe's main window (dialog 102).  Its
// start-up attaches to a running host window or launches the host around
// the Session, and docks the bar beside that window; its end ends the run.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "app/session.h"
#include "bar/slide.h"
#include "bar/control_layout.h"
#include "bar/host_typing_queue.h"
#include "bar/key_actions.h"
#include "files/std_files.h"
#include "gui/bar_keys.h"
#include "gui/bar_tooltips.h"
#include "win32/dialog_layout.h"
#include "gui/dlg_ui.h"
#include "gui/host_typing.h"
#include "gui/log_window.h"
#include "win32/message_window.h"
#include "gui/startup_notice.h"
#include "gui/status_popup.h"
#include "gui/system_menu.h"
#include "gui/refuse_tip.h"
#include "win32/win_net.h"
#include "win32/win_registry.h"
#include "win32/win_shell.h"
#include "win32/win_timers.h"
#include "win32/window.h"

namespace tellu {

class WhoWindow;

// The exit status of the program.
inline constexpr int kExitClosed = 0;        // the user closed the bar
inline constexpr int kExitHostTaken = 1;     // another Tellu launched the host
inline constexpr int kExitFatal = 2;         // a fatal start-up error

class CTelluDlg : public Dialog {
 public:
  // command_line: the program's arguments without its own path.
  explicit CTelluDlg(std::string command_line);
  ~CTelluDlg() override;

  // Runs the bar modally until it ends; returns the exit status.
  int Run();

  // What the Ui port shows on the bar.
  void ShowStatus(int index);
  // The host's window once found, else null.
  HWND host() const { return host_; }
  void EnableLoginItems(bool enable) { system_menu_.EnableLoginItems(enable); }
  // The Real-time Who window (tellu_dlg_who.cpp): item 80, the Who button,
  // the login, the refresh request.
  void ToggleWhoWindow();
  void WhoChanged();
  // The log window (tellu_dlg_log.cpp): item 48, the refresh request, the
  // lost-server notice.
  void ToggleLogWindow();
  void OpenLogWindow();
  void LogChanged();
  void AppendServerLost(const std::string& text);

 protected:
  BOOL OnInitDialog() override;
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  enum class Found { kYes, kNo, kBarEnded };

  // Start-up and the host window (tellu_dlg_start.cpp).
  Session::Hooks MakeHooks();
  bool AttachToRunningHost(int slot_choice);
  Found FindSlotHost(int slot, std::string& title);
  Found FindHostWindow(const std::string& title);
  void TagHost(std::string_view tag);
  void LaunchedHostReady();
  void StartSlide();
  void SlideTick();
  void ApplyFont();
  void Fatal(const std::string& report);
  void HostLost();
  void EndBar(int exit_status);
  void OnDestroy();
  void CloseWhoWindow();

  // The bar's controls and keys (tellu_dlg_bar.cpp).
  std::string FieldText() const;
  void SetFieldText(std::string_view text);
  // False when the field holds a character that cannot be sent: nothing
  // is, and the edit and its balloon show which.
  bool Send(const std::string& field);
  bool RefuseUnsendable();
  std::wstring FieldWide() const;
  void Deliver(const std::string& text);
  void OnTextChanged();
  void OnEditFocus();
  void OnWhoButton();
  void OnStatusButton();
  bool OnKeyAction(BarAction action);
  bool PaintMinimised();
  int Status();
  void SetStatus(int index);

  // The message table, from button 1005 and item 32 (tellu_dlg_table.cpp).
  void OnMessageTableButton();
  void SendMessageEntry(const std::string& message);

  // The settings dialog, item 64 (tellu_dlg_settings.cpp).
  void OpenSettings();
  void SaveWindowStateNow();

  // Commands and the system menu (tellu_dlg_menu.cpp).
  INT_PTR OnCommand(int id, int code, LPARAM lparam);
  bool OnSysCommand(UINT command);
  void ShowInformation();
  void OpenHelp();

  std::string command_line_;
  int exit_status_ = kExitClosed;
  bool ending_ = false;

  MessageWindow events_;
  WinNet net_{events_};
  WinTimers timers_{events_};
  StdFiles files_;
  WinShell shell_;
  WinRegistry registry_;
  DlgUi ui_{events_, *this};
  std::string program_path_;
  std::string windows_dir_;
  std::unique_ptr<Session> session_;

  // The host window and the captions Tellu gives it.
  HWND host_ = nullptr;
  std::string host_title_;
  std::string tagged_title_;
  int caption_height_ = 0;
  WinHostSender host_sender_;
  std::unique_ptr<HostTypingQueue> typing_;

  // Timer 1 while it slides the bar into place.
  bool sliding_ = false;
  int slide_count_ = 0;
  SlidePoint slide_start_;
  SlidePoint slide_target_;

  HWND edit_ = nullptr;
  DialogLayout layout_;
  StartupNotice notice_;
  SystemMenu system_menu_;
  StatusPictures status_pictures_;
  StatusPopup status_popup_{status_pictures_};
  BarTooltips tooltips_;
  RefuseTip refuse_tip_;
  Timers::Id refuse_tip_timer_ = 0;
  std::unique_ptr<BarKeyFilter> keys_;
  HFONT font_ = nullptr;
  LogWindow* log_window_ = nullptr;  // cleared whenever the window is destroyed
  WhoWindow* who_window_ = nullptr;  // the same
  bool first_focus_ = true;
};

}  // namespace tellu
