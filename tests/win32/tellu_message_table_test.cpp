// The message table of tellu.exe in launch mode: its buttons carry the
// table's labels, a click sends that entry with the bar's text, and Escape
// or the close box sends nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tellu_launch_rig.h"
#include "win32/bmp_menu_capture.h"

namespace tellu {
namespace {

using wintest::ClickButton;
using wintest::Key;
using wintest::Poll;
using wintest::TelluProcess;
using wintest::Type;

const wchar_t kCaption[] = L"\uFF92\uFF6F\uFF7E\uFF70\uFF7C\uFF9E\uFF83\uFF70\uFF8C\uFF9E\uFF99";

class TelluMessageTableTest : public ::testing::Test, protected wintest::LaunchRig {
 protected:
  // Entries 0..14 filled, 15 missing: a Japanese label, a text that is its
  // own label, a template with the field and two lines, then plain ones.
  std::string Table() const {
    std::string keys =
        "MSG=Canned\r\n[Canned]\r\n"
        "TEXT1=\x88\xA5\x8E\x41=\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD\r\n"  // 挨拶=こんにちは
        "TEXT2=\xB5\xCA\xD6\xB3\r\n"                                          // ｵﾊﾖｳ
        "TEXT3=Hail=%s\x81\x49\\nbye\r\n";                                    // %s！ \n bye
    for (int n = 4; n <= 15; ++n)
      keys += "TEXT" + std::to_string(n) + "=n" + std::to_string(n) + "=t\r\n";
    return keys;
  }

  HWND OpenTable(TelluProcess& tellu) { return tellu.WaitForMessageBox(kCaption); }
};

TEST_F(TelluMessageTableTest, LabelsAClickThatSendsAndEscapeThatDoesNot) {
  TelluProcess tellu(TelluIni(title, "", 30) + Table());
  ASSERT_TRUE(tellu.Start());
  HWND bar = tellu.WaitForBar();
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(Poll([&] { return server.Payloads().size() == 1; }));  // the login
  ASSERT_TRUE(tellu.WaitForDock());
  HWND edit = GetDlgItem(bar, IDC_BAR_EDIT);

  // From the bar's button: the labels, UTF-16 from the table's Shift-JIS.
  Type(edit, L"Bob:hi");
  ClickButton(bar, IDC_BAR_MESSAGE_TABLE);
  HWND table = OpenTable(tellu);
  ASSERT_NE(table, nullptr);
  std::vector<std::wstring> labels, expected = {L"\u6328\u62F6", L"\uFF75\uFF8A\uFF96\uFF73",
                                                L"Hail"};
  for (int n = 4; n <= 15; ++n) expected.push_back(L"n" + std::to_wstring(n));
  expected.push_back(L"");
  for (int n = 0; n < 16; ++n)
    labels.push_back(wintest::WindowTextOf(GetDlgItem(table, IDC_MESSAGE_FIRST + n)));
  EXPECT_EQ(labels, expected);
  wintest::CaptureWindow(table, "tellu_message_table.bmp");

  // Button 3: entry 2, the whisper prefix before each of its lines, the
  // rest of the field in its place.  The field is used up.
  ClickButton(table, IDC_MESSAGE_FIRST + 2);
  const std::string to_bob("\x00\x03" "Bob" "\x11\x00\x06" "tester", 14);
  const std::string hail = to_bob + std::string("\x05" "hi\xEF\xBC\x81");  // hi！
  const std::string bye = to_bob + "\x03" "bye";
  ASSERT_TRUE(Poll([&] { return server.Payloads().size() == 3; }));
  const std::vector<std::string> sent = server.Payloads();
  EXPECT_EQ(std::vector<std::string>(sent.begin() + 1, sent.end()),
            (std::vector<std::string>{hail, bye}));
  EXPECT_TRUE(Poll([&] { return wintest::WindowTextOf(edit).empty(); }));

  // Escape, then the close box (from system-menu item 32): nothing is sent
  // and the field stays; Enter then sends it as the next payload.
  Type(edit, L"x");
  ClickButton(bar, IDC_BAR_MESSAGE_TABLE);
  ASSERT_NE(table = OpenTable(tellu), nullptr);
  Key(GetDlgItem(table, IDC_MESSAGE_FIRST), VK_ESCAPE);  // the button with the focus
  ASSERT_TRUE(Poll([&] { return !IsWindow(table); }));
  PostMessageW(bar, WM_SYSCOMMAND, 32, 0);
  ASSERT_NE(table = OpenTable(tellu), nullptr);
  PostMessageW(table, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(Poll([&] { return !IsWindow(table); }));
  EXPECT_EQ(wintest::WindowTextOf(edit), L"x");
  Key(edit, VK_RETURN);
  ASSERT_TRUE(Poll([&] { return server.Payloads().size() == 4; }));
  EXPECT_EQ(server.Payloads().back(), std::string("\x01\x0E\x00\x00\x01" "x", 6));

  PostMessageW(bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(tellu.WaitForExit(), 0);
  wintest::CloseLaunchedHost(log);
}

}  // namespace
}  // namespace tellu
