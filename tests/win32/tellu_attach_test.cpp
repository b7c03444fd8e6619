// tellu.exe beside a host window that is already open: it tags the caption,
// docks the bar, types the bar's text into the host, clicks the host's Who
// button, and gives the caption back when it closes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "fakehost_process.h"
#include "res/resource.h"
#include "tellu_process.h"
#include "win32/bmp_menu_capture.h"
#include "win32/wide_text.h"

namespace tellu {
namespace {

using wintest::Join;
using wintest::kActivation;
using wintest::kDeactivation;
using wintest::kEnter;
using wintest::Lines;
using wintest::PostedKeys;
using wintest::SentMessages;
using wintest::ClickButton;
using wintest::FakeHost;
using wintest::Key;
using wintest::Poll;
using wintest::TelluProcess;
using wintest::Type;

// `wanted` appears in `lines` in its order.  The host's own window procedure
// adds sent messages of its own making when it is activated (focus and
// activation of its window), so the sent record holds more than Tellu sent.
bool InOrder(const Lines& lines, const Lines& wanted) {
  size_t next = 0;
  for (const std::string& line : lines)
    if (next < wanted.size() && line == wanted[next]) ++next;
  return next == wanted.size();
}

std::string Ini(const std::string& title, const std::string& slot_lines = "") {
  const int port = wintest::FreePort();
  EXPECT_GT(port, 0);
  return "[SYSTEM]\r\nRN=" + std::to_string(port) + "\r\nSYS1=" + title +
         "\r\n[SYS1]\r\n" + slot_lines;
}

class TelluAttachTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.started()) << "no fakehost at TELLU_FAKEHOST";
    host_window = host.WaitForWindow(title);
    ASSERT_NE(host_window, nullptr);
  }

  // Starts tellu.exe and waits until the bar has docked; what the host
  // records from then on is the test's.
  HWND StartDocked(TelluProcess& tellu) {
    if (!tellu.Start()) return nullptr;
    HWND bar = tellu.WaitForBar();
    if (!bar || !tellu.WaitForDock() || !host.Settle(host_window)) return nullptr;
    mark = host.Lines().size();
    return bar;
  }

  Lines Record() {
    const Lines all = host.Lines();
    return Lines(all.begin() + static_cast<long>(std::min(mark, all.size())), all.end());
  }

  // Waits until the host was sent these, in order, and posted exactly these.
  void ExpectRecord(const Lines& sent, const Lines& posted) {
    Poll([&] {
      const Lines record = Record();
      return InOrder(SentMessages(record), sent) && PostedKeys(record) == posted;
    });
    const Lines record = Record();
    EXPECT_TRUE(InOrder(SentMessages(record), sent)) << ::testing::PrintToString(SentMessages(record));
    EXPECT_EQ(PostedKeys(record), posted);
  }

  const std::string title = "Tellu attach test " + std::to_string(GetCurrentProcessId());
  FakeHost host{L"--title \"" + Wide(title) + L"\""};
  HWND host_window = nullptr;
  size_t mark = 0;
};

TEST_F(TelluAttachTest, DocksTypesClicksAndGivesTheCaptionBack) {
  TelluProcess tellu(Ini(title, "PositionWhoBtn=10,20\r\n"));
  HWND bar = StartDocked(tellu);
  ASSERT_NE(bar, nullptr);

  EXPECT_EQ(WindowText(host_window), title + " with Tellu");
  // Docked at the host's lower-left corner, nine pixels in and 36 up.
  RECT h, b;
  GetWindowRect(host_window, &h);
  GetWindowRect(bar, &b);
  EXPECT_EQ(b.left, h.left + 9);
  EXPECT_EQ(b.top, h.bottom - 36);
  wintest::CaptureWindow(bar, "tellu_attach_bar.bmp");

  // The markup characters go as full-width ones, a Japanese character as
  // its two Shift-JIS bytes; Enter ends the line.
  HWND edit = GetDlgItem(bar, IDC_BAR_EDIT);
  Type(edit, L"a<b&~>\u3042");
  Key(edit, VK_RETURN);
  ExpectRecord(Join({kActivation, kDeactivation}),
               Join({{"P WM_CHAR 61 0", "P WM_CHAR 81 0", "P WM_CHAR 83 0", "P WM_CHAR 62 0",
                      "P WM_CHAR 81 0", "P WM_CHAR 95 0", "P WM_CHAR 81 0", "P WM_CHAR 60 0",
                      "P WM_CHAR 81 0", "P WM_CHAR 84 0", "P WM_CHAR 82 0", "P WM_CHAR a0 0"},
                     kEnter}));
  EXPECT_TRUE(Poll([&] { return wintest::WindowTextOf(edit).empty(); }));

  // The Who button clicks the host's own, at PositionWhoBtn in its client area.
  ClickButton(bar, IDC_BAR_WHO);
  char hwnd[32];
  snprintf(hwnd, sizeof hwnd, "%llx",
           static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(host_window)));
  const std::string hw = hwnd;
  const Lines click = {"S WM_MOUSEACTIVATE " + hw + " 2010001", "S WM_MOUSEMOVE 49e20000 14000b",
                       "S WM_MOUSEMOVE 49e20000 14000a", "S WM_SETCURSOR " + hw + " 2000002",
                       "S WM_LBUTTONDOWN 49e20001 14000a", "S WM_LBUTTONUP 49e20000 14000a"};
  ExpectRecord(Join({kActivation, kDeactivation, kActivation, click, kDeactivation}),
               Join({{"P WM_CHAR 61 0", "P WM_CHAR 81 0", "P WM_CHAR 83 0", "P WM_CHAR 62 0",
                      "P WM_CHAR 81 0", "P WM_CHAR 95 0", "P WM_CHAR 81 0", "P WM_CHAR 60 0",
                      "P WM_CHAR 81 0", "P WM_CHAR 84 0", "P WM_CHAR 82 0", "P WM_CHAR a0 0"},
                     kEnter}));

  // The version item shows the memory and disk lines in the About box.
  PostMessageW(bar, WM_SYSCOMMAND, 16, 0);
  HWND about = tellu.WaitForMessageBox(L"Message from Tellu");
  ASSERT_NE(about, nullptr);
  const std::wstring info = wintest::WindowTextOf(GetDlgItem(about, IDC_ABOUT_INFO));
  EXPECT_EQ(info.rfind(L"Free Memory   ", 0), 0u);
  EXPECT_NE(info.find(L" KB\r\n"), std::wstring::npos);
  wintest::PressOk(about);
  ASSERT_TRUE(Poll([&] { return !IsWindow(about); }));

  // Wider, the field grows with the bar and the buttons keep to its right.
  RECT before_edit, before_status;
  GetWindowRect(edit, &before_edit);
  GetWindowRect(GetDlgItem(bar, IDC_BAR_STATUS), &before_status);
  GetWindowRect(bar, &b);
  SetWindowPos(bar, nullptr, 0, 0, b.right - b.left + 100, b.bottom - b.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT after_edit, after_status;
  GetWindowRect(edit, &after_edit);
  GetWindowRect(GetDlgItem(bar, IDC_BAR_STATUS), &after_status);
  EXPECT_EQ(after_edit.right - after_edit.left, before_edit.right - before_edit.left + 100);
  EXPECT_EQ(after_status.left, before_status.left + 100);
  EXPECT_EQ(after_status.right - after_status.left, before_status.right - before_status.left);

  // The user cannot make it smaller than 80 x 45.
  MINMAXINFO limits{};
  SendMessageW(bar, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, 80);
  EXPECT_EQ(limits.ptMinTrackSize.y, 45);

  PostMessageW(bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(tellu.WaitForExit(), 0);
  EXPECT_EQ(WindowText(host_window), title);
}

TEST_F(TelluAttachTest, TabSendsTheWordWithItsTabAndEscapeLeavesTheBarOpen) {
  TelluProcess tellu(Ini(title));
  HWND bar = StartDocked(tellu);
  ASSERT_NE(bar, nullptr);
  HWND edit = GetDlgItem(bar, IDC_BAR_EDIT);
  Key(edit, VK_ESCAPE);
  Key(bar, VK_ESCAPE);
  Type(edit, L"ok");
  Key(edit, VK_TAB);
  ExpectRecord(Join({kActivation, kDeactivation}),
               Join({{"P WM_CHAR 6f 0", "P WM_CHAR 6b 0", "P WM_CHAR 9 0"}, kEnter}));
  EXPECT_TRUE(IsWindow(bar));
  EXPECT_TRUE(wintest::WindowTextOf(edit).empty());
}

TEST_F(TelluAttachTest, TheFieldKeepsItsFirst110Bytes) {
  TelluProcess tellu(Ini(title));
  HWND bar = StartDocked(tellu);
  ASSERT_NE(bar, nullptr);
  HWND edit = GetDlgItem(bar, IDC_BAR_EDIT);
  // 54 double-byte characters (108 bytes), then "xyz": the cut comes after
  // "xy"; then neither a double-byte character nor another letter gets in.
  Type(edit, std::wstring(54, L'\u3042') + L"xyz\u3044q");
  Key(edit, VK_RETURN);
  Lines typed;
  for (int i = 0; i < 54; ++i) typed.insert(typed.end(), {"P WM_CHAR 82 0", "P WM_CHAR a0 0"});
  typed.insert(typed.end(), {"P WM_CHAR 78 0", "P WM_CHAR 79 0"});
  ExpectRecord(Join({kActivation, kDeactivation}), Join({typed, kEnter}));
}

// The message table in attach mode: the chosen entry, expanded with the
// field, is typed into the host as any text from the bar.
TEST_F(TelluAttachTest, AMessageTableEntryIsTypedIntoTheHost) {
  TelluProcess tellu(Ini(title, "MSG=Canned\r\n[Canned]\r\nTEXT1=n1=t\r\nTEXT2=Hi=hey %s\r\n"));
  HWND bar = StartDocked(tellu);
  ASSERT_NE(bar, nullptr);
  HWND edit = GetDlgItem(bar, IDC_BAR_EDIT);
  Type(edit, L"ab");
  ClickButton(bar, IDC_BAR_MESSAGE_TABLE);
  // "ﾒｯｾｰｼﾞﾃｰﾌﾞﾙ"
  HWND table = tellu.WaitForMessageBox(
      L"\uFF92\uFF6F\uFF7E\uFF70\uFF7C\uFF9E\uFF83\uFF70\uFF8C\uFF9E\uFF99");
  ASSERT_NE(table, nullptr);
  ClickButton(table, IDC_MESSAGE_FIRST + 1);
  ExpectRecord(Join({kActivation, kDeactivation}),
               Join({{"P WM_CHAR 68 0", "P WM_CHAR 65 0", "P WM_CHAR 79 0", "P WM_CHAR 20 0",
                      "P WM_CHAR 61 0", "P WM_CHAR 62 0"},
                     kEnter}));
  EXPECT_TRUE(Poll([&] { return wintest::WindowTextOf(edit).empty(); }));
}

TEST_F(TelluAttachTest, AHostThatWentAwayEndsTheRunWithTheReport) {
  TelluProcess tellu(Ini(title));
  HWND bar = StartDocked(tellu);
  ASSERT_NE(bar, nullptr);
  // The caption no longer names the host Tellu tagged.
  SetWindowTextSjis(host_window, title);
  HWND edit = GetDlgItem(bar, IDC_BAR_EDIT);
  Type(edit, L"x");
  Key(edit, VK_RETURN);
  EXPECT_EQ(tellu.AnswerMessageBox(L"Tellu"),
            L"*** cann't find RV/K ***\r\n[history]\r\nStart Tellu\r\n"
            L"checking tellu.ini :" + tellu.ini() + L"\r\n");
  EXPECT_EQ(tellu.WaitForExit(), 2);
  // Whatever Tellu posted before it ended is in the host's queue ahead of
  // the marker: once the host reports the marker, the record is complete.
  ASSERT_TRUE(host.Settle(host_window));
  EXPECT_TRUE(PostedKeys(Record()).empty());
}

TEST(TelluAttach, AHostLaunchedByAnotherTelluIsLeftToIt) {
  const std::string title = "Tellu taken test " + std::to_string(GetCurrentProcessId());
  FakeHost host(L"--title \"" + Wide(title) + L" with Tellu.\"");
  ASSERT_NE(host.WaitForWindow(title + " with Tellu."), nullptr);
  TelluProcess tellu(Ini(title));
  ASSERT_TRUE(tellu.Start());
  EXPECT_EQ(tellu.AnswerMessageBox(L"Tellu"), L"you can execute Tellu with auto exec mode only one");
  EXPECT_EQ(tellu.WaitForExit(), 1);
}

}  // namespace
}  // namespace tellu
