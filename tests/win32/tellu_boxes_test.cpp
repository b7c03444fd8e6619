// tellu.exe keeps relaying while any of its boxes is open.  Each kind in
// turn is opened from outside, as a user or a peer would open it; while it
// shows, bursts of lines from the server reach the host whole and in order,
// a line from the host reaches the server and the Who window shows one more
// person; then it is closed.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "avatar/address.h"
#include "avatar/texts.h"
#include "chat/kinds.h"
#include "chat/wire.h"
#include "res/resource.h"
#include "tellu_launch_rig.h"
#include "text/sjis.h"
#include "gui/host_window.h"
#include "win32/wide_text.h"
#include "wire_bytes.h"

namespace tellu {
namespace {

namespace t = avatar_text;
using wintest::ClickButton;
using wintest::FileLines;
using wintest::Hex;
using wintest::Poll;
using wintest::TelluProcess;

constexpr UINT kAboutItem = 16, kLogItem = 48, kSettingsItem = 64, kWhoItem = 80;

class TelluBoxesTest : public ::testing::Test, protected wintest::LaunchRig {
 protected:
  ~TelluBoxesTest() { DeleteFileW(avatar_path.c_str()); }

  // Twenty lines from the server in one write, after `lead`; the lines.
  std::vector<std::string> Burst(const std::string& tag, std::vector<std::string> lead = {}) {
    std::vector<std::string> lines;
    for (int i = 0; i < 20; ++i)
      lines.push_back(Chat(kind::kChatText, "srv" + std::to_string(i % 3), tag + std::to_string(i)));
    lead.insert(lead.end(), lines.begin(), lines.end());
    server.SendAll(lead);
    return lines;
  }
  bool HostGot(const std::vector<std::string>& lines) {
    return Poll([&] {
      size_t next = 0;
      for (const std::string& line : FileLines(log))
        if (next < lines.size() && line == "R " + Hex(lines[next])) ++next;
      return next == lines.size();
    });
  }
  bool ServerGot(const std::string& payload) {
    return Poll([&] {
      const auto got = server.Payloads();
      return std::find(got.begin(), got.end(), payload) != got.end();
    });
  }

  // What must hold while `box` is open.
  void ExpectChatFlows(HWND box, const std::string& tag) {
    SCOPED_TRACE(tag);
    ASSERT_NE(box, nullptr);
    const LRESULT logged = SendMessageW(log_view, WM_GETTEXTLENGTH, 0, 0);
    EXPECT_TRUE(HostGot(Burst(tag + " a")));
    EXPECT_TRUE(HostGot(Burst(tag + " b")));
    const std::string said = Chat(kind::kOwnChatText, "", tag);
    ASSERT_TRUE(wintest::HostSends(host, said));
    EXPECT_TRUE(ServerGot(said));
    const int people = ++people_;
    std::string naming(kind::kObjectNaming);
    PutString(naming, tag);
    server.Send(naming + static_cast<char>(people + 1));
    EXPECT_TRUE(Poll([&] { return SendMessageW(who_list, LB_GETCOUNT, 0, 0) == people; }));
    // The log window's view has grown by the lines (its text is too long
    // to be read from here).
    EXPECT_TRUE(Poll([&] { return SendMessageW(log_view, WM_GETTEXTLENGTH, 0, 0) > logged; }));
    EXPECT_TRUE(IsWindowVisible(box)) << "closed before its time";
  }

  // A visible window of the process that is not the bar and matches.
  HWND WaitFor(const TelluProcess& tellu, const std::function<bool(HWND)>& match) {
    HWND found = nullptr;
    Poll([&] {
      found = tellu.FindWindowWhere(
          [&](HWND w) { return w != tellu.Bar() && IsWindowVisible(w) && match(w); });
      return found != nullptr;
    });
    return found;
  }
  HWND WaitForDialogWith(const TelluProcess& tellu, int control) {
    return WaitFor(tellu, [control](HWND w) { return GetDlgItem(w, control) != nullptr; });
  }
  // A common dialog the settings dialog opened.
  HWND WaitForChooser(const TelluProcess& tellu, HWND settings) {
    return WaitFor(tellu, [settings](HWND w) {
      return wintest::ClassOf(w) == L"#32770" && GetWindow(w, GW_OWNER) == settings;
    });
  }
  static bool Closed(HWND window) {
    return Poll([&] { return !IsWindow(window) || !IsWindowVisible(window); });
  }

  HWND host = nullptr;
  HWND who_list = nullptr;
  HWND log_view = nullptr;
  int people_ = 0;
  const std::string avatar = "tellu_boxes_" + std::to_string(GetCurrentProcessId()) + ".mov";
  const std::wstring avatar_path = Wide(HostDir() + "\\" + avatar);
};

TEST_F(TelluBoxesTest, EveryBoxLeavesTheChatRunning) {
  TelluProcess tellu(TelluIni(title, "", 30));
  host = StartDocked(tellu);
  ASSERT_NE(host, nullptr);
  HWND bar = tellu.Bar();
  PostMessageW(bar, WM_SYSCOMMAND, kWhoItem, 0);
  HWND who = WaitForDialogWith(tellu, IDC_WHO_LIST);
  ASSERT_NE(who, nullptr);
  who_list = GetDlgItem(who, IDC_WHO_LIST);
  PostMessageW(bar, WM_SYSCOMMAND, kLogItem, 0);
  HWND log_window = WaitForDialogWith(tellu, IDC_LOG_VIEW);
  ASSERT_NE(log_window, nullptr);
  log_view = GetDlgItem(log_window, IDC_LOG_VIEW);

  // A peer's exchange notice with lines behind it in the same read, and
  // more in the next.
  const std::string notice = Chat(kind::kWhisper, "peer",
                                  std::string(t::kPrefix) + std::string(t::kNoticeKey) + "hello");
  const std::vector<std::string> behind = Burst("notice", {notice});
  HWND box = tellu.WaitForMessageBox(L"from peer");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(wintest::MessageBoxText(box), L"hello");
  EXPECT_TRUE(HostGot(behind));
  ExpectChatFlows(box, "notice");
  wintest::PressOk(box);
  EXPECT_TRUE(Closed(box));

  // A peer's flood of notices: one box at a time, in turn, with the chat
  // going on.
  std::vector<std::string> notices;
  for (int i = 0; i < 10; ++i)
    notices.push_back(Chat(kind::kWhisper, "peer",
                           std::string(t::kPrefix) + std::string(t::kNoticeKey) + std::to_string(i)));
  EXPECT_TRUE(HostGot(Burst("flood", notices)));
  for (int i = 0; i < 10; ++i) {
    box = tellu.WaitForMessageBox(L"from peer");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(wintest::MessageBoxText(box), std::to_wstring(i));
    EXPECT_EQ(tellu.FindWindowWhere([box](HWND w) {
      return w != box && IsWindowVisible(w) && wintest::WindowTextOf(w) == L"from peer";
    }), nullptr);
    if (i == 5) ExpectChatFlows(box, "flood");
    wintest::PressOk(box);
    ASSERT_TRUE(Closed(box));
  }

  // The avatar request question, for the avatar the host wears.
  HANDLE file = CreateFileW(avatar_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  const size_t before = server.Payloads().size();
  ASSERT_TRUE(wintest::HostSends(
      host, std::string(kind::kOwnAvatar) + static_cast<char>(avatar.size()) + avatar));
  ASSERT_TRUE(Poll([&] { return server.Payloads().size() > before; }));
  server.Send(Chat(kind::kWhisper, "asker",
                   std::string(t::kPrefix) + std::string(t::kRequestKey) +
                       EncodeAddress("203.0.113.9")));
  box = tellu.WaitForMessageBox(L"Tellu");
  ExpectChatFlows(box, "question");
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
  EXPECT_TRUE(Closed(box));
  EXPECT_TRUE(Poll([&] {
    for (const std::string& p : server.Payloads())
      if (p.find(text::SjisToWire(std::string(t::kDeclineNotice))) != std::string::npos)
        return true;
    return false;
  }));

  // The settings dialog, its font and folder choosers and its own notice.
  PostMessageW(bar, WM_SYSCOMMAND, kSettingsItem, 0);
  HWND settings = WaitForDialogWith(tellu, IDC_SET_FONT);
  ExpectChatFlows(settings, "settings");
  ClickButton(settings, IDC_SET_FONT);
  box = WaitForChooser(tellu, settings);
  ExpectChatFlows(box, "font");
  PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(Closed(box));
  ClickButton(settings, IDC_SET_LOG_FOLDER);
  box = WaitForChooser(tellu, settings);
  ExpectChatFlows(box, "folder");
  PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(Closed(box));
  SetWindowTextW(GetDlgItem(settings, IDC_SET_WHISPER_TEXT), L"\xD83D\xDE00");  // no Shift-JIS
  ClickButton(settings, IDOK);
  box = tellu.WaitForMessageBox(L"Tellu");
  ExpectChatFlows(box, "check");
  wintest::PressOk(box);
  EXPECT_TRUE(Closed(box));
  ClickButton(settings, IDCANCEL);
  EXPECT_TRUE(Closed(settings));

  // The message table and the About box.
  ClickButton(bar, IDC_BAR_MESSAGE_TABLE);
  box = WaitForDialogWith(tellu, IDC_MESSAGE_FIRST + 15);
  ExpectChatFlows(box, "table");
  PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(Closed(box));
  PostMessageW(bar, WM_SYSCOMMAND, kAboutItem, 0);
  box = tellu.WaitForMessageBox(L"Message from Tellu");
  ExpectChatFlows(box, "about");
  ClickButton(box, IDOK);
  EXPECT_TRUE(Closed(box));

  PostMessageW(bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(tellu.WaitForExit(), 0);
  wintest::CloseLaunchedHost(log);
}

}  // namespace
}  // namespace tellu
