// The settings dialog of tellu.exe in launch mode, from system-menu item 64:
// it shows the settings in force; OK writes its keys to tellu.ini, Cancel
// nothing; the font and folder choosers' results are handed in to the build
// with the test seams, and the shipped one takes none.
#include <gtest/gtest.h>

#include <string>

#include "gui/settings_dlg.h"
#include "files/std_files.h"
#include "res/resource.h"
#include "tellu_launch_rig.h"
#include "win32/bmp_menu_capture.h"
#include "win32/wide_text.h"

namespace tellu {
namespace {

using wintest::HasLine;
using wintest::Poll;
using wintest::TelluProcess;
using wintest::WindowTextOf;

std::string ReadFile(const std::wstring& path) {
  std::string bytes;
  StdFiles files;
  files.ReadAll(Sjis(path), bytes);
  return bytes;
}

std::string Replaced(std::string ini, const std::string& key, const std::string& value) {
  const size_t at = ini.find("\r\n" + key + "=") + key.size() + 3;
  return ini.replace(at, ini.find("\r\n", at) - at, value);
}

class TelluSettingsTest : public ::testing::Test, protected wintest::LaunchRig {
 protected:
  TelluSettingsTest() { CreateDirectoryW(log_dir.c_str(), nullptr); }
  ~TelluSettingsTest() override {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((log_dir + L"\\*.txt").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      do DeleteFileW((log_dir + L"\\" + found.cFileName).c_str());
      while (FindNextFileW(find, &found));
      FindClose(find);
    }
    RemoveDirectoryW(log_dir.c_str());
  }
  std::wstring LogFile() const {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((log_dir + L"\\TE*.txt").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return L"";
    FindClose(find);
    return log_dir + L"\\" + found.cFileName;
  }

  HWND OpenDialog(TelluProcess& tellu) {
    PostMessageW(tellu.Bar(), WM_SYSCOMMAND, 64, 0);
    HWND dialog = nullptr;
    Poll([&] {
      dialog = tellu.FindWindowWhere([](HWND w) {
        return WindowTextOf(w) == L"Tellu\u306E\u8A2D\u5B9A" && IsWindowVisible(w);
      });
      return dialog != nullptr;
    });
    return dialog;
  }
  // The bar once tellu.exe has started, docked and been connected; nullptr
  // when it did not come.
  HWND StartDocked(TelluProcess& tellu) {
    if (!tellu.Start()) return nullptr;
    HWND bar = tellu.WaitForBar();
    if (!bar || !Poll([&] { return !server.Payloads().empty(); }) || !tellu.WaitForDock())
      return nullptr;
    return bar;
  }
  static std::wstring IniPath(TelluProcess& tellu) {
    const std::wstring& exe = tellu.program();
    return exe.substr(0, exe.size() - 3) + L"ini";
  }
  static bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
  static void Toggle(HWND dialog, int id) {
    CheckDlgButton(dialog, id, Checked(dialog, id) ? BST_UNCHECKED : BST_CHECKED);
  }
  static void Press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  }
  static void Mute(HWND dialog, const wchar_t* typed, int button) {
    SetWindowTextW(GetDlgItem(dialog, IDC_SET_MUTE), typed);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
  }
  static std::wstring MuteItems(HWND dialog) {
    HWND box = GetDlgItem(dialog, IDC_SET_MUTE);
    std::wstring items;
    const LRESULT count = SendMessageW(box, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      wchar_t item[256] = L"";
      SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
      items += (i ? L"," : L"") + std::wstring(item);
    }
    return items;
  }
  // Whether the dialog took it.
  static bool HandIn(HWND dialog, ULONG_PTR what, const std::wstring& value) {
    COPYDATASTRUCT data{what, static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)),
                        const_cast<wchar_t*>(value.c_str())};
    return SendMessageW(dialog, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)) != 0;
  }
  // Chooses the item from the list, as a click in it does, and deletes it.
  static void DeleteChosen(HWND dialog, const std::wstring& item) {
    HWND box = GetDlgItem(dialog, IDC_SET_MUTE);
    const LRESULT at = SendMessageW(box, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(item.c_str()));
    ASSERT_GE(at, 0);
    SendMessageW(box, CB_SETCURSEL, at, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_SET_MUTE_DELETE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_SET_MUTE_DELETE)));
  }
  static bool Closed(HWND dialog) {
    return Poll([&] { return !IsWindow(dialog); });
  }

  const std::wstring log_dir = [] {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"tsl" + std::to_wstring(GetCurrentProcessId());
  }();
};

TEST_F(TelluSettingsTest, ShowsTheSettingsAndWritesExactlyItsKeysOnOk) {
  const std::string ini =
      TelluIni(title, "", 30) +
      "WHISPERSW=2\r\nWHISPERMSG=away\r\nPositionSaveFlag=0\r\nAvaReqRefuseFlag=5\r\n"
      "AvaReqRefuseMsg=no\r\nMostTopChk=0\r\nImeAutoOnChk=3\r\nLogChk=1\r\nFontSize=10.5\r\n"
      "FontSort=Gothic\r\nLogName=" + Sjis(log_dir) + "\\TE\r\nMuteList=momo,b\x82,Baddy\r\n";
  // An item with a broken byte, shown with a mark.
  const std::wstring broken = Wide("b\x82");
  TelluProcess tellu(ini);
  const std::wstring ini_path = IniPath(tellu);
  HWND bar = StartDocked(tellu);
  ASSERT_NE(bar, nullptr);
  server.Send(std::string("\x01\x0E\x00\x03" "Bob" "\x05" "hello", 13));
  ASSERT_TRUE(Poll([&] { return !LogFile().empty() && HasLine(LogFile(), "<Bob> hello"); }));

  // Opened: the settings in force, a flag on for any value but 0.  Changed
  // and cancelled: nothing written.
  HWND dialog = OpenDialog(tellu);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(Checked(dialog, IDC_SET_WHISPER_ON));
  EXPECT_TRUE(Checked(dialog, IDC_SET_REFUSE_ON));
  EXPECT_TRUE(Checked(dialog, IDC_SET_LOG_ON));
  EXPECT_TRUE(Checked(dialog, IDC_SET_IME_ON));
  EXPECT_FALSE(Checked(dialog, IDC_SET_MOST_TOP));
  EXPECT_FALSE(Checked(dialog, IDC_SET_GREET_ON));
  EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_SET_WHISPER_TEXT)), L"away");
  EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_SET_REFUSE_TEXT)), L"no");
  EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_SET_FONT_SIZE)), L"10.5");
  wintest::CaptureWindow(dialog, "tellu_settings_dialog.bmp");
  DeleteChosen(dialog, broken);
  EXPECT_EQ(MuteItems(dialog), L"Baddy,momo");
  Toggle(dialog, IDC_SET_WHISPER_ON);
  EXPECT_TRUE(HandIn(dialog, kFontChoiceData, L"120,Courier"));
  Mute(dialog, L"Zed", IDC_SET_MUTE_ADD);
  Press(dialog, IDCANCEL);
  ASSERT_TRUE(Closed(dialog));
  EXPECT_EQ(ReadFile(ini_path), ini);

  // Every kind of control changed; a text Shift-JIS cannot hold is refused.
  dialog = OpenDialog(tellu);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_SET_FONT_SIZE)), L"10.5");
  Toggle(dialog, IDC_SET_WHISPER_ON);
  Toggle(dialog, IDC_SET_LOG_ON);
  Toggle(dialog, IDC_SET_MOST_TOP);
  SetWindowTextW(GetDlgItem(dialog, IDC_SET_WHISPER_TEXT), L"gone\u3042");
  Mute(dialog, L"Zed", IDC_SET_MUTE_ADD);
  Mute(dialog, L"MOM", IDC_SET_MUTE_ADD);  // "momo" begins with it
  Mute(dialog, L"a,b", IDC_SET_MUTE_ADD);
  Mute(dialog, L"bad", IDC_SET_MUTE_DELETE);
  Mute(dialog, L"Al", IDC_SET_MUTE_ADD);
  DeleteChosen(dialog, broken);
  EXPECT_EQ(MuteItems(dialog), L"Al,momo,Zed");
  HandIn(dialog, kFontChoiceData, L"120,Courier");
  HandIn(dialog, kFolderChoiceData, L"C:\\chosen");
  EXPECT_TRUE(Poll([&] { return WindowTextOf(GetDlgItem(dialog, IDC_SET_FONT_SIZE)) == L"12.0"; }));
  SetWindowTextW(GetDlgItem(dialog, IDC_SET_REFUSE_TEXT), L"\u20AC");
  Press(dialog, IDOK);
  HWND box = tellu.WaitForMessageBox(L"Tellu");
  ASSERT_NE(box, nullptr);
  EXPECT_NE(wintest::MessageBoxText(box).find(L"Shift-JIS"), std::wstring::npos);
  wintest::PressOk(box);
  ASSERT_TRUE(Poll([&] { return !IsWindow(box); }));
  EXPECT_TRUE(IsWindow(dialog));
  EXPECT_EQ(ReadFile(ini_path), ini);
  SetWindowTextW(GetDlgItem(dialog, IDC_SET_REFUSE_TEXT), L"no2");
  // Muted automatically while the dialog is open (a line and seven repeats):
  // the mute survives OK, after the dialog's own items.
  for (int i = 0; i < 8; ++i) server.Send(std::string("\x01\x0E\x00\x03" "Sam" "\x05" "spam!", 13));
  ASSERT_TRUE(Poll([&] { return ReadFile(ini_path).find(",Sam\r\n") != std::string::npos; }));
  Press(dialog, IDOK);
  ASSERT_TRUE(Closed(dialog));
  std::string written = ini;
  for (const auto& [key, value] :
       {std::pair<std::string, std::string>{"WHISPERSW", "0"}, {"WHISPERMSG", "gone\x82\xA0"},
        {"AvaReqRefuseFlag", "1"}, {"AvaReqRefuseMsg", "no2"}, {"MostTopChk", "1"},
        {"ImeAutoOnChk", "1"}, {"LogChk", "0"}, {"FontSize", "12.0"}, {"FontSort", "Courier"},
        {"LogName", "C:\\chosen\\TE"}, {"MuteList", "Al,momo,Zed,Sam"}})
    written = Replaced(written, key, value);
  // The keys are written once the dialog has gone.
  Poll([&] { return ReadFile(ini_path) == written; });
  EXPECT_EQ(ReadFile(ini_path), written);
  EXPECT_TRUE(Poll([&] { return (GetWindowLongW(bar, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }));
  // Logging off: the file has its end banner and is closed at once.
  const std::vector<std::string> lines = wintest::FileLines(LogFile());
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back().rfind("++++++++ End   ", 0), 0u) << lines.back();
  EXPECT_TRUE(DeleteFileW(LogFile().c_str()));

  // The same font again writes no font keys (edited by hand meanwhile, they
  // stay); the flags are written again.
  StdFiles files;
  const std::string by_hand = Replaced(Replaced(Replaced(written, "FontSize", " 7.5"),
                                                "FontSort", "Hand"), "WHISPERSW", "5");
  files.WriteAll(Sjis(ini_path), by_hand);
  dialog = OpenDialog(tellu);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_SET_FONT_SIZE)), L"12.0");
  EXPECT_FALSE(Checked(dialog, IDC_SET_LOG_ON));
  EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_SET_WHISPER_TEXT)), L"gone\u3042");
  HandIn(dialog, kFontChoiceData, L"120,Courier");
  Press(dialog, IDOK);
  ASSERT_TRUE(Closed(dialog));
  // The mute list goes back in the box's sorted order.
  const std::string again = Replaced(Replaced(by_hand, "WHISPERSW", "0"), "MuteList", "Al,momo,Sam,Zed");
  Poll([&] { return ReadFile(ini_path) == again; });
  EXPECT_EQ(ReadFile(ini_path), again);

  // "現状態を保存" writes at once, and Cancel leaves it written.
  dialog = OpenDialog(tellu);
  ASSERT_NE(dialog, nullptr);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_SET_SAVE_NOW, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_SET_SAVE_NOW)));
  Press(dialog, IDCANCEL);
  ASSERT_TRUE(Closed(dialog));
  RECT r;
  GetWindowRect(bar, &r);
  const std::string saved = ReadFile(ini_path);
  EXPECT_NE(saved.find("\r\nPositionTelluWindow=" + std::to_string(r.left) + "," +
                       std::to_string(r.top) + "\r\n"),
            std::string::npos);
  EXPECT_NE(saved.find("\r\nLogWindowFlag=0\r\n"), std::string::npos);

  PostMessageW(bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(tellu.WaitForExit(), 0);
  EXPECT_TRUE(LogFile().empty());  // switched off: no new file, no second banner
  wintest::CloseLaunchedHost(log);
}

// The shipped tellu.exe has no seam: a chooser's result handed in from
// another process is not taken, and OK keeps the font and folder as they were.
class TelluShippedSettings : public TelluSettingsTest {};

TEST_F(TelluShippedSettings, TakesNoSettingsFromAnotherProcess) {
  const std::string ini = TelluIni(title, "", 30) + "FontSize=10.5\r\nFontSort=Gothic\r\n";
  TelluProcess tellu(ini);
  const std::wstring ini_path = IniPath(tellu);
  HWND bar = StartDocked(tellu);
  ASSERT_NE(bar, nullptr);
  HWND dialog = OpenDialog(tellu);
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(HandIn(dialog, kFontChoiceData, L"120,Courier"));
  EXPECT_FALSE(HandIn(dialog, kFolderChoiceData, L"C:\\chosen"));
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_SET_FONT_SIZE)), L"10.5");
  Press(dialog, IDOK);
  ASSERT_TRUE(Closed(dialog));
  // The mute list is the last key OK writes.
  ASSERT_TRUE(Poll([&] { return ReadFile(ini_path).find("\r\nMuteList=") != std::string::npos; }));
  const std::string saved = ReadFile(ini_path);
  EXPECT_NE(saved.find("\r\nFontSize=10.5\r\nFontSort=Gothic\r\n"), std::string::npos) << saved;
  EXPECT_EQ(saved.find("chosen"), std::string::npos) << saved;
  PostMessageW(bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(tellu.WaitForExit(), 0);
  wintest::CloseLaunchedHost(log);
}

}  // namespace
}  // namespace tellu
