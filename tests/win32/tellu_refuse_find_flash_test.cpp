// What users of a chat client expect of tellu.exe, in launch mode, driven
// from outside as a user would.  The bar refuses a line with a character
// Shift-JIS cannot hold: nothing reaches the server, the character is
// selected and a balloon on the edit names it.  Ctrl+F in the log view opens the
// Find dialog, driven by its controls, F3 finds the next, a line arriving
// leaves the match selected, the right-button menu's "Find...(&F)"; then a
// whisper while another program is in front flashes the host's taskbar
// button (Wine cannot flash another process's window, so the test build
// counts the calls on the bar), and a muted sender's does not.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>
#include <gtest/gtest.h>

#include <string>

#include "chat/kinds.h"
#include "tellu_launch_rig.h"
#include "win32/bmp_menu_capture.h"
#include "res/resource.h"
#include "gui/whisper_flash.h"
#include "win32/window.h"
#include "wire_bytes.h"

namespace tellu {
namespace {

using wintest::Key;
using wintest::Poll;
using wintest::TelluProcess;

constexpr UINT kLogItem = 48;
// The Find dialog's controls.
constexpr int kFindWhat = 1152, kMatchCase = 1041, kUp = 1056, kDown = 1057;

// A CHARRANGE message answered in the other process's memory.
CHARRANGE SelectionOf(HANDLE process, HWND view) {
  CHARRANGE range{-1, -1};
  void* remote = VirtualAllocEx(process, nullptr, sizeof range, MEM_COMMIT, PAGE_READWRITE);
  if (!remote) return range;
  SendMessageW(view, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(remote));
  ReadProcessMemory(process, remote, &range, sizeof range, nullptr);
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return range;
}

std::wstring SelectedText(HANDLE process, HWND view) {
  const CHARRANGE range = SelectionOf(process, view);
  if (range.cpMax <= range.cpMin || range.cpMax - range.cpMin > 100) return L"";
  wchar_t text[128] = {};
  void* remote = VirtualAllocEx(process, nullptr, sizeof text, MEM_COMMIT, PAGE_READWRITE);
  if (!remote) return L"";
  WriteProcessMemory(process, remote, text, sizeof text, nullptr);
  SendMessageW(view, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(remote));
  ReadProcessMemory(process, remote, text, sizeof text - sizeof text[0], nullptr);
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  // Some rich edit 1.0 controls give their narrow text even to a wide
  // window: an ASCII word then fills the first wide character with two bytes.
  const std::string narrow(reinterpret_cast<const char*>(text));
  if (narrow.size() > 1) return Wide(narrow);
  return text;
}

// The line of the view where the selection starts.
LRESULT SelectedLine(HANDLE process, HWND view) {
  return SendMessageW(view, EM_EXLINEFROMCHAR, 0, SelectionOf(process, view).cpMin);
}

void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> in;
  for (WORD k : keys) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = k;
    in.push_back(i);
  }
  for (auto k = keys.end(); k != keys.begin();) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = *--k;
    i.ki.dwFlags = KEYEVENTF_KEYUP;
    in.push_back(i);
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// A window of the test's own, to be in front instead of the host and Tellu.
class Elsewhere : public Window {
 public:
  Elsewhere() {
    Create({L"TelluFindFlashElsewhere"}, L"elsewhere", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
           500, 400, 200, 100, nullptr);
  }
};

class TelluRefuseFindFlashTest : public ::testing::Test, protected wintest::LaunchRig {
 protected:
  HWND FindDialogOf(const TelluProcess& tellu, HWND log_window) {
    HWND found = nullptr;
    Poll([&] {
      found = tellu.FindWindowWhere([&](HWND w) {
        return wintest::ClassOf(w) == L"#32770" && GetWindow(w, GW_OWNER) == log_window &&
               IsWindowVisible(w) && GetDlgItem(w, kFindWhat);
      });
      return found != nullptr;
    });
    return found;
  }
  static void FindNext(HWND find, const wchar_t* what, bool match_case, bool down) {
    SetWindowTextW(GetDlgItem(find, kFindWhat), what);
    SendDlgItemMessageW(find, kMatchCase, BM_SETCHECK, match_case ? BST_CHECKED : BST_UNCHECKED, 0);
    SendDlgItemMessageW(find, kUp, BM_SETCHECK, down ? BST_UNCHECKED : BST_CHECKED, 0);
    SendDlgItemMessageW(find, kDown, BM_SETCHECK, down ? BST_CHECKED : BST_UNCHECKED, 0);
    // Sent: the search is over when it returns.
    SendMessageW(find, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(find, IDOK)));
  }
  int Flashes(HWND bar) {
    return static_cast<int>(reinterpret_cast<UINT_PTR>(GetPropW(bar, kWhisperFlashCount)));
  }
};

TEST_F(TelluRefuseFindFlashTest, RefusesALineFindsInTheLogAndFlashesTheHostOnAWhisper) {
  TelluProcess tellu(TelluIni(title, "", 30) + "MuteList=troll\r\n");
  HWND host = StartDocked(tellu);
  ASSERT_NE(host, nullptr);
  HWND bar = tellu.Bar();
  const HANDLE process = tellu.handle();

  // A line with an emoji is refused.
  const size_t sent_before = server.Payloads().size();
  HWND edit = GetDlgItem(bar, IDC_BAR_EDIT);

  const std::wstring typed = L"hi \U0001F600 there";
  SetWindowTextW(edit, typed.c_str());
  Key(edit, VK_RETURN);
  HWND tip = nullptr;
  ASSERT_TRUE(Poll([&] {
    tip = tellu.FindWindowWhere([](HWND w) {
      return wintest::ClassOf(w) == TOOLTIPS_CLASSW && IsWindowVisible(w) &&
             wintest::WindowTextOf(w).find(L"\U0001F600") != std::wstring::npos;
    });
    return tip != nullptr;
  }));
  const std::wstring said = wintest::WindowTextOf(tip);
  EXPECT_NE(said.find(L"\u3053\u306E\u6587\u5B57\u306F\u9001\u4FE1\u3067\u304D\u307E\u305B\u3093: "
                      L"\U0001F600"),
            std::wstring::npos);
  EXPECT_NE(said.find(L"This character cannot be sent: \U0001F600"), std::wstring::npos);

  // The text stays, its emoji (two UTF-16 units) selected.
  EXPECT_EQ(wintest::WindowTextOf(edit), typed);
  const DWORD selection = static_cast<DWORD>(SendMessageW(edit, EM_GETSEL, 0, 0));
  EXPECT_EQ(LOWORD(selection), 3);
  EXPECT_EQ(HIWORD(selection), 5);
  wintest::CaptureWindow(bar, "tellu_refused_bar.bmp");
  wintest::CaptureWindow(tip, "tellu_refused_balloon.bmp");

  // Nothing went out, Enter again or not; a line that can be sent goes.
  Key(edit, VK_RETURN);
  Sleep(500);
  EXPECT_EQ(server.Payloads().size(), sent_before);
  // Typing over the selection takes the balloon away at once (not when it
  // times out, after ten seconds).
  const DWORD typed_at = GetTickCount();
  wintest::Type(edit, L"!");
  EXPECT_TRUE(Poll([&] { return !IsWindowVisible(tip); }));
  EXPECT_LT(GetTickCount() - typed_at, 5000u);
  EXPECT_EQ(wintest::WindowTextOf(edit), L"hi ! there");
  SetWindowTextW(edit, L"hi \u301C there");
  Key(edit, VK_RETURN);
  ASSERT_TRUE(Poll([&] { return server.Payloads().size() == sent_before + 1; }));
  EXPECT_EQ(server.Payloads().back(), std::string("\x01\x0E\x00\x00\x0C" "hi \xE3\x80\x9C there",
                                                  17));


  PostMessageW(bar, WM_SYSCOMMAND, kLogItem, 0);
  HWND log_window = nullptr;
  ASSERT_TRUE(Poll([&] {
    log_window = tellu.FindWindowWhere(
        [](HWND w) { return GetDlgItem(w, IDC_LOG_VIEW) != nullptr && IsWindowVisible(w); });
    return log_window != nullptr;
  }));
  HWND view = GetDlgItem(log_window, IDC_LOG_VIEW);
  // Line 0 stays empty: each entry starts with its line break.
  for (const char* text : {"alpha apple", "beta", "Apple pie", "gamma apple"})
    server.Send(Chat(kind::kChatText, "Bob", text));
  ASSERT_TRUE(Poll([&] {
    return wintest::WindowTextOf(view).find(L"gamma apple") != std::wstring::npos;
  }));

  // Ctrl+F, typed in the view.
  SetForegroundWindow(log_window);
  PostMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ASSERT_TRUE(Poll([&] { return GetForegroundWindow() == log_window; }));
  PressKeys({VK_CONTROL, 'F'});
  HWND find = FindDialogOf(tellu, log_window);
  ASSERT_NE(find, nullptr);

  // Down with the case matched: the first match on, then F3 past "Apple",
  // then round the end to the first again.
  auto selected = [&](LRESULT line, const wchar_t* text) {
    return Poll([&] {
      return SelectedLine(process, view) == line && SelectedText(process, view) == text;
    });
  };
  SendMessageW(view, EM_SETSEL, 0, 0);
  FindNext(find, L"apple", true, true);
  EXPECT_TRUE(selected(1, L"apple")) << SelectedLine(process, view);
  PostMessageW(view, WM_KEYDOWN, VK_F3, 1);
  EXPECT_TRUE(selected(4, L"apple")) << SelectedLine(process, view);

  // A line arriving in real time leaves the match selected.
  const CHARRANGE before = SelectionOf(process, view);
  server.Send(Chat(kind::kChatText, "Bob", "delta"));
  ASSERT_TRUE(Poll([&] { return wintest::WindowTextOf(view).find(L"delta") != std::wstring::npos; }));
  const CHARRANGE after = SelectionOf(process, view);
  EXPECT_EQ(after.cpMin, before.cpMin);
  EXPECT_EQ(after.cpMax, before.cpMax);

  PostMessageW(view, WM_KEYDOWN, VK_F3, 1);
  EXPECT_TRUE(selected(1, L"apple"));
  // Up, any case: round the start to the last line's, then "Apple".
  FindNext(find, L"apple", false, false);
  EXPECT_TRUE(selected(4, L"apple"));
  FindNext(find, L"apple", false, false);
  EXPECT_TRUE(selected(3, L"Apple"));
  // A word that is not there leaves the selection (and beeps).
  const CHARRANGE kept = SelectionOf(process, view);
  FindNext(find, L"zebra", false, true);
  EXPECT_EQ(SelectionOf(process, view).cpMin, kept.cpMin);
  EXPECT_EQ(SelectionOf(process, view).cpMax, kept.cpMax);
  FindNext(find, L"apple", false, false);
  EXPECT_TRUE(selected(1, L"apple"));

  // On the screen, the dialog below the lines.
  SetWindowPos(log_window, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(find, HWND_TOP, 40, 200, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  wintest::CaptureWindow(log_window, "tellu_find_in_log.bmp");

  // Closed, and opened again from the view's menu.
  PostMessageW(find, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(find, IDCANCEL)));
  ASSERT_TRUE(Poll([&] { return !IsWindow(find); }));
  PostMessageW(view, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  HWND menu = nullptr;
  ASSERT_TRUE(Poll([&] { return (menu = tellu.FindWindowOfClass(L"#32768")) && IsWindowVisible(menu); }));
  PostMessageW(menu, WM_CHAR, 'f', 0);
  find = FindDialogOf(tellu, log_window);
  ASSERT_NE(find, nullptr);
  // F3 there takes the last search on from the match.
  PostMessageW(view, WM_KEYDOWN, VK_F3, 1);
  EXPECT_TRUE(selected(4, L"apple"));

  // A whisper while the user is in another program.
  Elsewhere elsewhere;
  SetForegroundWindow(elsewhere.hwnd());
  ASSERT_TRUE(Poll([&] { return GetForegroundWindow() == elsewhere.hwnd(); }));
  EXPECT_EQ(Flashes(bar), 0);
  server.Send(Chat(kind::kWhisper, "Amy", "psst"));
  EXPECT_TRUE(Poll([&] { return Flashes(bar) == 1; })) << Flashes(bar);
  EXPECT_EQ(GetPropW(bar, kWhisperFlashWindow), host);
  // A muted sender's whisper, then a line to know it was read: no flash.
  server.Send(Chat(kind::kWhisper, "troll", "spam"));
  server.Send(Chat(kind::kChatText, "Bob", "after the troll"));
  ASSERT_TRUE(Poll([&] {
    return wintest::WindowTextOf(view).find(L"after the troll") != std::wstring::npos;
  }));
  EXPECT_EQ(Flashes(bar), 1);
  // With the log window in front the user has seen it.
  SetForegroundWindow(log_window);
  ASSERT_TRUE(Poll([&] { return GetForegroundWindow() == log_window; }));
  server.Send(Chat(kind::kWhisper, "Amy", "again"));
  ASSERT_TRUE(Poll([&] {
    return wintest::WindowTextOf(view).find(L"again") != std::wstring::npos;
  }));
  EXPECT_EQ(Flashes(bar), 1);

  PostMessageW(bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(tellu.WaitForExit(), 0);
  wintest::CloseLaunchedHost(log);
}

}  // namespace
}  // namespace tellu
