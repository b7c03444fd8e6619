// tellu.exe's bar refuses a line with a character Shift-JIS cannot hold:
// nothing reaches the server, the character is selected in the edit and a
// balloon on the edit names it.
#include <gtest/gtest.h>

#include <string>

#include "tellu_launch_rig.h"
// After windows.h, which it needs.
#include <commctrl.h>

#include "win32/bmp_menu_capture.h"
#include "win32/resource.h"

namespace tellu {
namespace {

using testing::Key;
using testing::Poll;
using testing::TelluProcess;

class TelluRefuseTest : public ::testing::Test, protected testing::LaunchRig {};

TEST_F(TelluRefuseTest, ALineWithAnEmojiIsNotSentAndTheEmojiIsShown) {
  ASSERT_GT(server.port(), 0);
  TelluProcess tellu(TelluIni(title, "", 30));
  ASSERT_NE(StartDocked(tellu), nullptr);
  const size_t before = server.Payloads().size();
  HWND bar = tellu.Bar();
  HWND edit = GetDlgItem(bar, IDC_BAR_EDIT);

  const std::wstring typed = L"hi \U0001F600 there";
  SetWindowTextW(edit, typed.c_str());
  Key(edit, VK_RETURN);
  HWND tip = nullptr;
  ASSERT_TRUE(Poll([&] {
    tip = tellu.FindWindowWhere([](HWND w) {
      return testing::ClassOf(w) == TOOLTIPS_CLASSW && IsWindowVisible(w) &&
             testing::WindowTextOf(w).find(L"\U0001F600") != std::wstring::npos;
    });
    return tip != nullptr;
  }));
  const std::wstring said = testing::WindowTextOf(tip);
  EXPECT_NE(said.find(L"\u3053\u306E\u6587\u5B57\u306F\u9001\u4FE1\u3067\u304D\u307E\u305B\u3093: "
                      L"\U0001F600"),
            std::wstring::npos);
  EXPECT_NE(said.find(L"This character cannot be sent: \U0001F600"), std::wstring::npos);

  // The text stays, its emoji (two UTF-16 units) selected.
  EXPECT_EQ(testing::WindowTextOf(edit), typed);
  const DWORD selection = static_cast<DWORD>(SendMessageW(edit, EM_GETSEL, 0, 0));
  EXPECT_EQ(LOWORD(selection), 3);
  EXPECT_EQ(HIWORD(selection), 5);
  testing::CaptureWindow(bar, "tellu_refused_bar.bmp");
  testing::CaptureWindow(tip, "tellu_refused_balloon.bmp");

  // Nothing went out, Enter again or not; a line that can be sent goes.
  Key(edit, VK_RETURN);
  Sleep(500);
  EXPECT_EQ(server.Payloads().size(), before);
  // Typing over the selection takes the balloon away at once (not when it
  // times out, after ten seconds).
  const DWORD typed_at = GetTickCount();
  testing::Type(edit, L"!");
  EXPECT_TRUE(Poll([&] { return !IsWindowVisible(tip); }));
  EXPECT_LT(GetTickCount() - typed_at, 5000u);
  EXPECT_EQ(testing::WindowTextOf(edit), L"hi ! there");
  SetWindowTextW(edit, L"hi \u301C there");
  Key(edit, VK_RETURN);
  ASSERT_TRUE(Poll([&] { return server.Payloads().size() == before + 1; }));
  EXPECT_EQ(server.Payloads().back(), std::string("\x01\x0E\x00\x00\x0C" "hi \xE3\x80\x9C there",
                                                  17));
}

}  // namespace
}  // namespace tellu
