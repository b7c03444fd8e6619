// tellu.exe's Real-time Who window in launch mode: item 80 opens it beside
// the host, the list follows the server's people in object order with their
// pictures and colours (read back from the list's entries in the process),
// a right click mutes and unmutes, a double click fills the bar, item 80
// closes it, and a saved state reopens it at the login.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tellu_launch_rig.h"
#include "text/sjis.h"
#include "wire_bytes.h"
#include "win32/bmp_menu_capture.h"
#include "gui/host_window.h"
#include "gui/picture_list.h"
#include "gui/who_window.h"
#include "res/resource.h"

namespace tellu {
namespace {

using wintest::CloseLaunchedHost;
using wintest::FileLines;
using wintest::Hex;
using wintest::Poll;
using wintest::TelluProcess;

constexpr UINT kWhoItem = 80;

struct Shown {
  std::string text;
  int bitmap = 0;
  bool muted = false;
  const void* record = nullptr;  // the cache record of the picture
  bool operator==(const Shown& o) const {
    return text == o.text && bitmap == o.bitmap && muted == o.muted;
  }
};

// The list's entries, read from the other process's memory; read again
// while a refresh there frees what was just being read.
std::vector<Shown> Entries(HANDLE process, HWND list) {
  for (int attempt = 0; attempt < 50; ++attempt, Sleep(20)) {
    std::vector<Shown> out;
    const LRESULT n = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
      const LRESULT data = SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0);
      PictureEntry e{};
      BitmapCache::Record r{};
      if (!ReadProcessMemory(process, reinterpret_cast<const void*>(data), &e, sizeof e, nullptr) ||
          !ReadProcessMemory(process, e.picture, &r, sizeof r, nullptr))
        break;
      const bool muted = e.text_colour == kWhoMutedText && e.background == kWhoMutedBackground;
      // Other colours are a torn read (the entry freed meanwhile) or a
      // fault: read again, and fail below if it never comes right.
      if (!muted && (e.text_colour != kWhoText || e.background != kWhoBackground)) break;
      out.push_back({std::string(e.text, e.length), r.id, muted, e.picture});
    }
    if (static_cast<LRESULT>(out.size()) == n && SendMessageW(list, LB_GETCOUNT, 0, 0) == n)
      return out;
  }
  ADD_FAILURE() << "the entries cannot be read with the list's colours";
  return {};
}

std::string Naming(const std::string& name, int n) {
  return std::string("\xFF\x0D", 2) + static_cast<char>(name.size()) + name + static_cast<char>(n);
}
std::string Move(int n, int z, int dir, int x = 0) {
  std::string p{static_cast<char>(n), '\x01', static_cast<char>(x >> 8), static_cast<char>(x), 0, 0};
  return p + static_cast<char>(z >> 8) + static_cast<char>(z) + static_cast<char>(dir >> 8) +
         static_cast<char>(dir);
}
std::string Wears(const std::string& name, const std::string& avatar) {
  return std::string("\x00", 1) + static_cast<char>(name.size()) + name + "\x03\x05" +
         static_cast<char>(avatar.size()) + avatar;
}

class TelluWhoWindowTest : public ::testing::Test, protected wintest::LaunchRig {
 protected:
  HWND WhoWindowOf(const TelluProcess& tellu) {
    HWND found = nullptr;
    Poll([&] {
      found = tellu.FindWindowWhere(
          [](HWND w) { return GetDlgItem(w, IDC_WHO_LIST) != nullptr && IsWindowVisible(w); });
      return found != nullptr;
    });
    return found;
  }
  std::string MuteList(const TelluProcess& tellu) {
    const std::wstring& exe = tellu.program();
    const std::wstring ini = exe.substr(0, exe.size() - 4) + L".ini";
    wchar_t value[512] = {};
    GetPrivateProfileStringW(L"SYS1", L"MuteList", L"", value, 512, ini.c_str());
    return Sjis(value);
  }
};

TEST_F(TelluWhoWindowTest, FollowsThePeopleMutesAndAddresses) {
  TelluProcess tellu(TelluIni(title, "", 30) + "MuteList=bob,zed,bob\r\n");
  HWND host = StartDocked(tellu);
  ASSERT_NE(host, nullptr);
  HWND bar = tellu.Bar();

  PostMessageW(bar, WM_SYSCOMMAND, kWhoItem, 0);
  HWND who = WhoWindowOf(tellu);
  ASSERT_NE(who, nullptr);
  RECT h, w;
  GetWindowRect(host, &h);
  GetWindowRect(who, &w);
  EXPECT_EQ(w.left, h.left + 433);
  EXPECT_EQ(w.top, h.bottom - 410);
  HWND list = GetDlgItem(who, IDC_WHO_LIST);
  EXPECT_TRUE(Entries(tellu.handle(), list).empty());

  // Arrivals out of order; the list keeps the object order.  cid runs this
  // program and is away, bob runs Mirabo; a name past the table changes nothing.
  for (const std::string& p : {Naming("cid", 8), Move(8, 0x61, 0x51), Naming("bob", 5),
                               Move(5, 4, 2), Naming("amy", 3), Wears("amy", "av\\amy.mov"),
                               Naming("dan", 9), Naming("eve", 12)})
    server.Send(p);
  const std::vector<Shown> four{{"amy         amy", 150, false},
                                {"bob         ", 166, true},
                                {"cid         ", 152, false},
                                {"dan         ", 150, false}};
  EXPECT_TRUE(Poll([&] { return Entries(tellu.handle(), list) == four; }));
  std::vector<Shown> shown = Entries(tellu.handle(), list);
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0].record, shown[3].record);  // one picture 150, loaded once
  EXPECT_NE(shown[0].record, shown[1].record);
  // Beside a small host the window starts partly above the screen.
  SetWindowPos(who, nullptr, 600, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  wintest::CaptureWindow(who, "tellu_who_window.bmp");

  // A right click mutes the selected person and unmutes them again; a muted
  // person loses the first of their places in the list.
  auto right_click = [&](int index) {
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(list, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  };
  right_click(0);
  EXPECT_EQ(MuteList(tellu), "bob,zed,bob,amy");
  EXPECT_TRUE(Entries(tellu.handle(), list)[0].muted);
  right_click(0);
  EXPECT_EQ(MuteList(tellu), "bob,zed,bob");
  EXPECT_FALSE(Entries(tellu.handle(), list)[0].muted);
  right_click(1);
  EXPECT_EQ(MuteList(tellu), "zed,bob");
  EXPECT_EQ(Entries(tellu.handle(), list), four);
  right_click(-1);
  EXPECT_EQ(MuteList(tellu), "zed,bob");
  EXPECT_EQ(Entries(tellu.handle(), list), four);

  // A double click puts the handle into the bar.
  HWND edit = GetDlgItem(bar, IDC_BAR_EDIT);
  auto double_click = [&](int index) {
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(who, WM_COMMAND, MAKEWPARAM(IDC_WHO_LIST, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(list));
  };
  SetWindowTextW(edit, L"");
  double_click(2);
  EXPECT_EQ(wintest::WindowTextOf(edit), L"cid:");
  SetWindowTextW(edit, L"hi");
  double_click(0);
  EXPECT_EQ(wintest::WindowTextOf(edit), L"hi\xFF1E" L"amy");
  SetWindowTextW(edit, L"");

  // A name the line cannot show whole is muted and addressed whole: ten
  // full-width characters, of which the line shows six.
  const std::wstring ten = L"\x3042\x3044\x3046\x3048\x304A\x304B\x304D\x304F\x3051\x3053";
  const std::string ten_sjis = Sjis(ten);
  server.Send(Naming(text::SjisToWire(ten_sjis), 10));
  ASSERT_TRUE(Poll([&] {
    const auto now = Entries(tellu.handle(), list);
    return now.size() == 5 && now[4].text == ten_sjis.substr(0, 12) + " ";
  }));
  right_click(4);
  EXPECT_EQ(MuteList(tellu), "zed,bob," + ten_sjis);
  EXPECT_TRUE(Entries(tellu.handle(), list)[4].muted);
  right_click(4);
  EXPECT_EQ(MuteList(tellu), "zed,bob");
  double_click(4);
  EXPECT_EQ(wintest::WindowTextOf(edit), ten + L":");
  SetWindowTextW(edit, L"");
  server.Send(std::string("\xFE\x0B\x0A", 3));
  ASSERT_TRUE(Poll([&] { return Entries(tellu.handle(), list) == four; }));

  // Moves and an avatar sent again change no line: no rebuild, no paint
  // until cid's status changes.
  auto count = [&](const wchar_t* property) {
    return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(who, property)));
  };
  const int rebuilds = count(WhoWindow::kRebuildsProperty);
  const int repaints = count(WhoWindow::kRepaintsProperty);
  EXPECT_GT(rebuilds, 0);
  for (int x = 1; x <= 20; ++x) {
    server.Send(Move(3, 0, 0, x));
    server.Send(Move(8, 0x61, 0x51, x));
  }
  server.Send(Wears("amy", "av\\amy.mov"));
  // The host has the avatar again: the refresh request it caused is queued.
  EXPECT_TRUE(Poll([&] {
    const auto lines = FileLines(log);
    return !lines.empty() && lines.back() == "R " + Hex(Wears("amy", "av\\amy.mov"));
  }));
  Sleep(200);
  EXPECT_EQ(count(WhoWindow::kRebuildsProperty), rebuilds);
  server.Send(Move(8, 0x61, 0x59));
  EXPECT_TRUE(Poll([&] { return Entries(tellu.handle(), list)[2].bitmap == 151; }));
  EXPECT_TRUE(Poll([&] { return count(WhoWindow::kRepaintsProperty) > repaints; }));
  EXPECT_EQ(count(WhoWindow::kRebuildsProperty), rebuilds + 1);
  EXPECT_EQ(count(WhoWindow::kRepaintsProperty), repaints + 1);

  // A departure and a name of odd bytes.
  std::string odd = "\x01\x1F\xE3\x81" + std::string(240, 'x');
  for (const std::string& p : {std::string("\xFE\x0B\x05", 3), Naming(odd, 11)})
    server.Send(p);
  EXPECT_TRUE(Poll([&] {
    const auto now = Entries(tellu.handle(), list);
    return now.size() == 4 && now[1].bitmap == 151 && now[1].text == "cid         " &&
           now[2].text == "dan         ";
  }));
  server.Send(std::string("\xFE\x0B\x03\x08\x09\x0B", 6));
  EXPECT_TRUE(Poll([&] { return Entries(tellu.handle(), list).empty(); }));

  // Item 80 again closes it.
  PostMessageW(bar, WM_SYSCOMMAND, kWhoItem, 0);
  EXPECT_TRUE(Poll([&] { return !IsWindow(who); }));
  PostMessageW(bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(tellu.WaitForExit(), 0);
  CloseLaunchedHost(log);
}

// The login comes when the test sends it, with the host in front: the window
// opens without taking the activation from it.
TEST_F(TelluWhoWindowTest, ASavedOpenWindowReopensAtTheLoginBehindTheHost) {
  TelluProcess tellu(TelluIni(title, " --login no", 30) +
                     "PositionSaveFlag=1\r\nWhoWindowFlag=1\r\nPositionWhoWindow=40,50\r\n");
  HWND host = StartDocked(tellu, false);
  ASSERT_NE(host, nullptr);
  ASSERT_TRUE(Poll([&] {
    SetForegroundWindow(host);
    return GetForegroundWindow() == host;
  }));
  ASSERT_TRUE(wintest::HostSends(host, Login("tester")));
  HWND who = WhoWindowOf(tellu);
  ASSERT_NE(who, nullptr);
  RECT w;
  GetWindowRect(who, &w);
  EXPECT_EQ(w.left, 40);
  EXPECT_EQ(w.top, 50);
  // What the window's opening posted has been handled once a line the
  // server sends after the login has passed.
  const std::string said("\x01\x0E\x00\x03" "Bob" "\x05" "hello", 13);
  server.Send(said);
  EXPECT_TRUE(Poll([&] { return wintest::HasLine(log, "R " + Hex(said)); }));
  PumpMessagesUntil([] { return false; }, 500);
  // Tests running beside this one may take the foreground themselves: what
  // counts is that no window of Tellu's has it.
  const auto tellu_in_front = [&] {
    DWORD front = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &front);
    return front == GetProcessId(tellu.handle());
  };
  EXPECT_FALSE(tellu_in_front() && !Poll([&] { return !tellu_in_front(); }));
  PostMessageW(tellu.Bar(), WM_CLOSE, 0, 0);
  EXPECT_EQ(tellu.WaitForExit(), 0);
  CloseLaunchedHost(log);
}

// PositionSaveFlag restores the saved state at 1 only, in each of its
// readers: the host's place, the bar's and the Who window at the login.
TEST_F(TelluWhoWindowTest, OnlyASaveFlagOfOneRestoresTheSavedState) {
  TelluProcess tellu(TelluIni(title, "", 30) +
                     "PositionSaveFlag=2\r\nWhoWindowFlag=1\r\nPositionWhoWindow=40,50\r\n"
                     "Position_RV=100,120\r\nPositionTelluWindow=30,40\r\n");
  HWND host = StartDocked(tellu);
  ASSERT_NE(host, nullptr);
  HWND bar = tellu.Bar();
  RECT h, b;
  GetWindowRect(host, &h);
  GetWindowRect(bar, &b);
  EXPECT_NE(h.left, 100);
  EXPECT_EQ(b.left, h.left + 9);
  EXPECT_EQ(b.top, h.bottom - 36);
  EXPECT_EQ(tellu.FindWindowWhere([](HWND w) { return GetDlgItem(w, IDC_WHO_LIST) != nullptr; }),
            nullptr);
  PostMessageW(bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(tellu.WaitForExit(), 0);
  CloseLaunchedHost(log);
}

}  // namespace
}  // namespace tellu
