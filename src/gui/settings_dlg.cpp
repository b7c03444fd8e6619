#include "gui/settings_dlg.h"

#include <commdlg.h>
#include <shlobj.h>

#include <cwchar>

#include "res/resource.h"
#include "settings/dialog_edit.h"
#include "settings/value_format.h"
#include "win32/wide_text.h"

namespace tellu {
namespace {

// "フォルダを選択して下さい"
constexpr char kFolderTitle[] =
    "\x83\x74\x83\x48\x83\x8B\x83\x5F\x82\xF0\x91\x49\x91\xF0\x82\xB5\x82\xC4\x89\xBA\x82\xB3\x82\xA2";
constexpr char kNotShiftJis[] =
    "This text holds a character that tellu.ini cannot store (it keeps Shift-JIS only).\r\n"
    "Please change it.";
constexpr char kTooLong[] = " is too long to be stored in tellu.ini (4095 bytes at most).";
constexpr char kFolderNotShiftJis[] =
    "The folder's path holds a character that tellu.ini cannot store; the log folder is "
    "not changed.";
constexpr char kFolderTooLong[] =
    "The folder's path is too long to be stored in tellu.ini; the log folder is not changed.";
constexpr int kHandleLimit = 255;  // a handle on the wire

struct Check {
  int id;
  int DialogSettings::*flag;
};
constexpr Check kChecks[] = {
    {IDC_SET_WHISPER_ON, &DialogSettings::whisper_sw},
    {IDC_SET_REFUSE_ON, &DialogSettings::ava_req_refuse_flag},
    {IDC_SET_POSITION_SAVE, &DialogSettings::position_save_flag},
    {IDC_SET_MOST_TOP, &DialogSettings::most_top_chk},
    {IDC_SET_IME_ON, &DialogSettings::ime_auto_on_chk},
    {IDC_SET_LOG_ON, &DialogSettings::log_chk},
};

struct Edit {
  int id;
  std::string& (*field)(DialogSettings&);
};
constexpr Edit kEdits[] = {
    {IDC_SET_WHISPER_TEXT, [](DialogSettings& d) -> std::string& { return d.whisper_msg; }},
    {IDC_SET_GREET_HANDLE, [](DialogSettings& d) -> std::string& { return d.greeting.partner; }},
    {IDC_SET_GREET_TEXT, [](DialogSettings& d) -> std::string& { return d.greeting.text; }},
    {IDC_SET_REFUSE_TEXT, [](DialogSettings& d) -> std::string& { return d.ava_req_refuse_msg; }},
};

std::wstring ControlText(HWND control) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

// An unchanged text keeps its bytes, even those the control can only show
// as a mark.
bool TakeText(HWND control, std::string& value) {
  const std::wstring shown = ControlText(control);
  if (shown == Wide(value)) return true;
  return SjisExact(shown, value);
}

void Notice(HWND owner, const std::string& text) {
  MessageBoxW(owner, Wide(text).c_str(), L"Tellu", MB_OK | MB_ICONEXCLAMATION);
}

// The system's choosers.  False when the user cancelled.
bool ChooseScreenFont(HWND owner, const std::string& face, int tenths, std::wstring& chosen,
                      int& chosen_tenths) {
  LOGFONTW font{};
  HDC dc = GetDC(owner);
  font.lfHeight = -MulDiv(GetDeviceCaps(dc, LOGPIXELSX), tenths, 720);
  ReleaseDC(owner, dc);
  font.lfCharSet = DEFAULT_CHARSET;
  const std::wstring wide_face = Wide(face);
  wcsncpy(font.lfFaceName, wide_face.c_str(), LF_FACESIZE - 1);
  CHOOSEFONTW choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = owner;
  choose.lpLogFont = &font;
  choose.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_NOVERTFONTS;
  if (!ChooseFontW(&choose)) return false;
  chosen = font.lfFaceName;
  chosen_tenths = choose.iPointSize;
  return true;
}

int CALLBACK SelectAtStart(HWND window, UINT message, LPARAM, LPARAM start) {
  if (message == BFFM_INITIALIZED) SendMessageW(window, BFFM_SETSELECTIONW, TRUE, start);
  return 0;
}

bool ChooseFolder(HWND owner, const std::string& start, std::wstring& chosen) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::wstring title = Wide(kFolderTitle);
  const std::wstring from = Wide(start);
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = SelectAtStart;
  info.lParam = reinterpret_cast<LPARAM>(from.c_str());
  bool got = false;
  if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info)) {
    wchar_t path[MAX_PATH] = L"";
    got = SHGetPathFromIDListW(list, path) != FALSE;
    if (got) chosen = path;
    CoTaskMemFree(list);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return got;
}

}  // namespace

SettingsDlg::SettingsDlg(DialogSettings copy, std::function<std::string()> log_name,
                         std::function<void()> save_window_state)
    : copy_(std::move(copy)),
      log_name_(std::move(log_name)),
      save_window_state_(std::move(save_window_state)) {}

INT_PTR SettingsDlg::Run(HWND owner) { return RunModal(owner, IDD_SETTINGS); }

BOOL SettingsDlg::OnInitDialog() {
  for (const Check& c : kChecks)
    CheckDlgButton(hwnd(), c.id, copy_.*c.flag == 1 ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(hwnd(), IDC_SET_GREET_ON, copy_.greeting.enabled ? BST_CHECKED : BST_UNCHECKED);
  for (const Edit& e : kEdits) {
    HWND edit = GetDlgItem(hwnd(), e.id);
    SendMessageW(edit, EM_LIMITTEXT, kMaxStoredText, 0);
    SetWindowTextW(edit, Wide(e.field(copy_)).c_str());
  }
  SendDlgItemMessageW(hwnd(), IDC_SET_MUTE, CB_LIMITTEXT, kHandleLimit, 0);
  for (const std::string& handle : copy_.mute_list) AddMuteItem(handle);
  ShowSize();
  return TRUE;
}

INT_PTR SettingsDlg::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    ShowSize();
    return FALSE;  // painted as usual
  }
#ifdef TELLU_TEST_SEAMS
  if (message == WM_COPYDATA)
    return Result(OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lparam)));
#endif
  if (message != WM_COMMAND || HIWORD(wparam) != BN_CLICKED) return FALSE;
  switch (LOWORD(wparam)) {
    case IDC_SET_MUTE_ADD:
      OnMuteAdd();
      return TRUE;
    case IDC_SET_MUTE_DELETE:
      OnMuteDelete();
      return TRUE;
    case IDC_SET_SAVE_NOW:
      save_window_state_();
      return TRUE;
    case IDC_SET_FONT:
      OnFont();
      return TRUE;
    case IDC_SET_LOG_FOLDER:
      OnFolder();
      return TRUE;
    case IDOK:
      if (TakeControls()) End(IDOK);
      return TRUE;
    default:
      return FALSE;
  }
}

void SettingsDlg::ShowSize() {
  HWND size = GetDlgItem(hwnd(), IDC_SET_FONT_SIZE);
  const std::wstring text = Wide(FormatReal(copy_.font_tenths * 0.1));
  // Set only when it differs: a paint that sets a text would flicker.
  if (ControlText(size) != text) SetWindowTextW(size, text.c_str());
}

void SettingsDlg::AddMuteItem(const std::string& handle) {
  const LRESULT at = SendDlgItemMessageW(hwnd(), IDC_SET_MUTE, CB_ADDSTRING, 0,
                                         reinterpret_cast<LPARAM>(Wide(handle).c_str()));
  if (at < 0) return;
  SendDlgItemMessageW(hwnd(), IDC_SET_MUTE, CB_SETITEMDATA, at, handles_.size());
  handles_.push_back(handle);
}

// In the box's sorted order.
std::vector<std::string> SettingsDlg::MuteItems() const {
  std::vector<std::string> items;
  const LRESULT count = SendDlgItemMessageW(hwnd(), IDC_SET_MUTE, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i)
    items.push_back(handles_[SendDlgItemMessageW(hwnd(), IDC_SET_MUTE, CB_GETITEMDATA, i, 0)]);
  return items;
}

void SettingsDlg::OnMuteAdd() {
  HWND box = GetDlgItem(hwnd(), IDC_SET_MUTE);
  std::string typed;
  if (!SjisExact(ControlText(box), typed)) {
    Refuse(IDC_SET_MUTE, kNotShiftJis);
    return;
  }
  if (CanAddMute(MuteItems(), typed)) {
    AddMuteItem(typed);
    SetWindowTextW(box, L"");
  } else {
    MessageBeep(MB_ICONHAND);
  }
  SetFocus(box);
}

// The item chosen in the list is taken by its bytes: it may hold some the
// box can only show as a mark, and then no typed text could name it.
size_t SettingsDlg::ChosenMuteItem() const {
  HWND box = GetDlgItem(hwnd(), IDC_SET_MUTE);
  const LRESULT chosen = SendMessageW(box, CB_GETCURSEL, 0, 0);
  if (chosen >= 0) {
    std::wstring item(static_cast<size_t>(SendMessageW(box, CB_GETLBTEXTLEN, chosen, 0)) + 1, L'\0');
    item.resize(static_cast<size_t>(
        SendMessageW(box, CB_GETLBTEXT, chosen, reinterpret_cast<LPARAM>(item.data()))));
    if (item == ControlText(box)) return static_cast<size_t>(chosen);
  }
  std::string typed;
  return SjisExact(ControlText(box), typed) ? FindByPrefix(MuteItems(), typed) : std::string::npos;
}

void SettingsDlg::OnMuteDelete() {
  HWND box = GetDlgItem(hwnd(), IDC_SET_MUTE);
  const size_t at = ChosenMuteItem();
  if (at != std::string::npos) {
    SendMessageW(box, CB_DELETESTRING, at, 0);
    SetWindowTextW(box, L"");
  } else {
    MessageBeep(MB_ICONHAND);
  }
  SetFocus(box);
}

void SettingsDlg::OnFont() {
  std::wstring face;
  int tenths = 0;
  if (ChooseScreenFont(hwnd(), copy_.font_face, copy_.font_tenths, face, tenths))
    FontChosen(face, tenths);
}

void SettingsDlg::FontChosen(const std::wstring& face, int tenths) {
  std::string sjis;
  if (!SjisExact(face, sjis)) {
    Notice(hwnd(), kNotShiftJis);
    return;
  }
  copy_.font_face = sjis;
  copy_.font_tenths = tenths;
  InvalidateRect(hwnd(), nullptr, TRUE);  // the size display follows on the paint
}

void SettingsDlg::OnFolder() {
  const LogNameSplit split = SplitLogName(copy_.log_folder.empty() ? log_name_() : copy_.log_folder);
  std::wstring chosen;
  if (ChooseFolder(hwnd(), split.folder, chosen)) FolderChosen(chosen, split.tail);
}

void SettingsDlg::FolderChosen(const std::wstring& path, const std::string& tail) {
  std::string sjis;
  if (!SjisExact(path, sjis)) {
    Notice(hwnd(), kFolderNotShiftJis);
    return;
  }
  if (sjis.size() + tail.size() > kMaxStoredText) {
    Notice(hwnd(), kFolderTooLong);
    return;
  }
  copy_.log_folder = sjis + tail;
}

bool SettingsDlg::OnCopyData(const COPYDATASTRUCT& data) {
  std::wstring text(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
  text.resize(text.find(L'\0') == std::wstring::npos ? text.size() : text.find(L'\0'));
  if (data.dwData == kFontChoiceData) {
    const size_t comma = text.find(L',');
    if (comma == std::wstring::npos) return false;
    FontChosen(text.substr(comma + 1), _wtoi(text.substr(0, comma).c_str()));
    return true;
  }
  if (data.dwData == kFolderChoiceData) {
    const std::string& v = copy_.log_folder.empty() ? log_name_() : copy_.log_folder;
    FolderChosen(text, SplitLogName(v).tail);
    return true;
  }
  return false;
}

bool SettingsDlg::TakeControls() {
  DialogSettings taken = copy_;
  for (const Check& c : kChecks) taken.*c.flag = IsDlgButtonChecked(hwnd(), c.id) == BST_CHECKED;
  taken.greeting.enabled = IsDlgButtonChecked(hwnd(), IDC_SET_GREET_ON) == BST_CHECKED;
  for (const Edit& e : kEdits) {
    if (!TakeText(GetDlgItem(hwnd(), e.id), e.field(taken))) {
      Refuse(e.id, kNotShiftJis);
      return false;
    }
  }
  taken.mute_list = MuteItems();
  if (const char* key = OverlongKey(taken)) {
    Notice(hwnd(), key + std::string(kTooLong));
    return false;
  }
  copy_ = std::move(taken);
  return true;
}

void SettingsDlg::Refuse(int id, const std::string& text) {
  Notice(hwnd(), text);
  SetFocus(GetDlgItem(hwnd(), id));
}

}  // namespace tellu
