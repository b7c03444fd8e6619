// CTelluDlg's commands: buttons, the status and avatar menus, and the system
// menu's own items.
#include "avatar/exchange.h"
#include "bar/system_menu_items.h"
#include "chat/status.h"
#include "gui/about_dlg.h"
#include "gui/avatar_popup.h"
#include "gui/help.h"
#include "gui/tellu_dlg.h"
#include "res/resource.h"
#include "win32/wide_text.h"

// windows.h names an old menu call so; the avatar exchange's is meant here.
#undef ChangeMenu

namespace tellu {

INT_PTR CTelluDlg::OnCommand(int id, int code, LPARAM lparam) {
  switch (id) {
    case IDOK:
      Send(FieldText());
      return TRUE;
    case IDCANCEL:
      // Escape never closes the bar; closing it is WM_CLOSE's.
      return TRUE;
    case IDC_BAR_EDIT:
      if (code == EN_CHANGE) OnTextChanged();
      if (code == EN_SETFOCUS) OnEditFocus();
      return TRUE;
    case IDC_BAR_WHO:
      if (code == BN_CLICKED) OnWhoButton();
      return TRUE;
    case IDC_BAR_MESSAGE_TABLE:
      if (code == BN_CLICKED) OnMessageTableButton();
      return TRUE;
    case IDC_BAR_STATUS:
      if (code == BN_CLICKED) OnStatusButton();
      return TRUE;
    default:
      break;
  }
  if (lparam != 0) return FALSE;  // a control's notification
  if (id >= kStatusCommandBase && id < kStatusCommandBase + kStatusCount) {
    SetStatus(id - kStatusCommandBase);
    return TRUE;
  }
  AvatarExchange* avatar = session_ ? session_->avatar() : nullptr;
  return avatar && avatar->OnMenuCommand(id) ? TRUE : FALSE;
}

bool CTelluDlg::OnSysCommand(UINT command) {
  AvatarExchange* avatar = session_ ? session_->avatar() : nullptr;
  switch (command) {
    case kAboutCommand:
      ShowInformation();
      return true;
    case kMessageTableCommand:
      OnMessageTableButton();
      return true;
    case kLogCommand:
      ToggleLogWindow();
      return true;
    case kSettingsCommand:
      OpenSettings();
      return true;
    case kWhoCommand:
      ToggleWhoWindow();
      return true;
    case kAvatarChangeCommand:
      if (avatar) ShowPopupAtCursor(hwnd(), avatar->ChangeMenu(GetKeyState(VK_SHIFT) < 0));
      return true;
    case kAvatarRequestCommand:
      if (avatar) ShowPopupAtCursor(hwnd(), avatar->RequestMenu());
      return true;
    case kHelpCommand:
      OpenHelp();
      return true;
    default:
      return false;
  }
}

void CTelluDlg::ShowInformation() { RunAboutBox(hwnd(), Sjis(InformationText()), shell_); }

void CTelluDlg::OpenHelp() { shell_.Open(HelpDocument(files_, program_path_)); }

}  // namespace tellu
