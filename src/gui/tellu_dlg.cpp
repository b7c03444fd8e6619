#include "gui/tellu_dlg.h"

#include <utility>

#include "app/command_line.h"
#include "app/config.h"
#include "bar/bar_controls.h"
#include "chat/chat_state.h"
#include "res/resource.h"
#include "win32/wide_text.h"

namespace tellu {

static_assert(kBarOkButton == IDOK && kBarEdit == IDC_BAR_EDIT && kWhoButton == IDC_BAR_WHO &&
              kMessageTableButton == IDC_BAR_MESSAGE_TABLE && kStatusButton == IDC_BAR_STATUS);

namespace {

std::string ProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return Sjis(path);
    }
    path.resize(path.size() * 2);
  }
}

std::string WindowsDirectory() {
  wchar_t path[MAX_PATH] = L"";
  const UINT n = GetWindowsDirectoryW(path, MAX_PATH);
  return n > 0 && n < MAX_PATH ? Sjis(std::wstring_view(path, n)) : std::string();
}

}  // namespace

CTelluDlg::CTelluDlg(std::string command_line) : command_line_(std::move(command_line)) {}

CTelluDlg::~CTelluDlg() {
  keys_.reset();
  typing_.reset();
  session_.reset();
  if (font_) DeleteObject(font_);
}

int CTelluDlg::Run() {
  if (RunModal(nullptr, IDD_TELLU_DIALOG) == -1) return kExitFatal;
  return exit_status_;
}

BOOL CTelluDlg::OnInitDialog() {
  const int slot_choice = CommandLineSlot(command_line_);
  program_path_ = ProgramPath();
  windows_dir_ = WindowsDirectory();
  ui_.SetOwner(hwnd());
  session_ = std::make_unique<Session>(
      Session::Ports{files_, timers_, ui_, shell_, registry_, net_},
      Session::Places{LocateProfileFile(files_, windows_dir_, program_path_), windows_dir_,
                      program_path_},
      MakeHooks());

  SendMessageW(hwnd(), WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(ProgramIcon(IDI_TELLU, false)));
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(ProgramIcon(IDI_TELLU, true)));
  // A port in use leaves the run without connections, as it always has.
  session_->Begin();
  SetWindowTextSjis(hwnd(), kBarTitle);
  ShowStatus(kNormalStatus);
  layout_.Capture(hwnd(), kBarControls, kBarMinWidth, kBarMinHeight);
  notice_.Create(hwnd());
  edit_ = GetDlgItem(hwnd(), IDC_BAR_EDIT);
  typing_ = std::make_unique<HostTypingQueue>(timers_, host_sender_, [this] { HostLost(); });

  if (!AttachToRunningHost(slot_choice) && !ending_ && session_->Launch(slot_choice)) {
    const Settings& s = session_->settings().settings();
    if (session_->resize_bar())
      SetWindowPos(hwnd(), nullptr, 0, 0, s.size_tellu_window.x, s.size_tellu_window.y,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyFont();
  }
  if (ending_) return TRUE;

  system_menu_.Extend(hwnd(), session_->launch_mode());
  tooltips_.Create(hwnd(), {IDC_BAR_WHO, IDC_BAR_MESSAGE_TABLE, IDC_BAR_STATUS},
                   [this] { return Status(); });
  keys_ = std::make_unique<BarKeyFilter>(
      hwnd(), edit_, [this] { return session_ && session_->launch_mode(); },
      [this](BarAction action) { return OnKeyAction(action); });
  return TRUE;
}

INT_PTR CTelluDlg::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      return OnCommand(LOWORD(wparam), HIWORD(wparam), lparam);
    case WM_SYSCOMMAND:
      return OnSysCommand(static_cast<UINT>(wparam & 0xFFF0)) ? TRUE : FALSE;
    case WM_TIMER:
      if (wparam != 1 || !sliding_) return FALSE;
      SlideTick();
      return TRUE;
    case WM_SIZE:
      layout_.OnSize(wparam);
      return TRUE;
    case WM_GETMINMAXINFO: {
      layout_.OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lparam));
      return TRUE;
    }
    case WM_PAINT:
      return PaintMinimised() ? TRUE : FALSE;
    case WM_NOTIFY:
      return tooltips_.OnNotify(reinterpret_cast<NMHDR*>(lparam)) ? TRUE : FALSE;
    case WM_MENUCHAR:
      // The status labels have no mnemonics: a typed character is ignored
      // and the status menu stays open.
      if (reinterpret_cast<HMENU>(lparam) == status_popup_.Menu())
        return Result(MAKELRESULT(0, MNC_IGNORE));
      return FALSE;
    case WM_CLOSE:
      EndBar(kExitClosed);
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace tellu
