// tellu.exe in launch mode: it patches the host's configuration, starts the
// host through PROG, finds its window, puts the file back and relays between
// the host and a chat server; and its fatal start-up errors.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "tellu_launch_rig.h"
#include "win32/bmp_menu_capture.h"
#include "gui/host_window.h"
#include "win32/message_window.h"
#include "relay/relay.h"
#include "res/resource.h"
#include "win32/wide_text.h"
#include "win32/win_net.h"

#include <psapi.h>

namespace tellu {
namespace {

using wintest::ClickButton;
using wintest::CloseLaunchedHost;
using wintest::HasLine;
using wintest::Hex;
using wintest::Key;
using wintest::Poll;
using wintest::TelluProcess;
using wintest::TestServer;
using wintest::Type;

// A chat server that offers bytes as fast as the kernel takes them, on a
// plain non-blocking socket, so that what it could not hand over is seen.
class FloodServer {
 public:
  FloodServer() {
    listen_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int len = sizeof a;
    u_long nonblocking = 1;
    if (bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && listen(listen_, 1) == 0 &&
        getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len) == 0 &&
        ioctlsocket(listen_, FIONBIO, &nonblocking) == 0)
      port_ = ntohs(a.sin_port);
  }
  ~FloodServer() {
    if (connection_ != INVALID_SOCKET) closesocket(connection_);
    closesocket(listen_);
  }
  int port() const { return port_; }
  bool Accept() {
    return Poll([&] { return (connection_ = accept(listen_, nullptr, nullptr)) != INVALID_SOCKET; });
  }
  // Sends frames until `limit` bytes are taken or the kernel has taken
  // nothing through `patience` tries in a row; the bytes taken.
  size_t Flood(const std::string& frame, size_t limit, int patience) {
    u_long nonblocking = 1;
    ioctlsocket(connection_, FIONBIO, &nonblocking);
    size_t taken = 0, at = 0;
    for (int idle = 0; taken < limit && idle < patience;) {
      const int n = send(connection_, frame.data() + at, static_cast<int>(frame.size() - at), 0);
      if (n > 0) {
        taken += n;
        at = (at + n) % frame.size();
        idle = 0;
      } else if (WSAGetLastError() == WSAEWOULDBLOCK) {
        ++idle;
        Sleep(50);
      } else {
        break;
      }
    }
    return taken;
  }

 private:
  SOCKET listen_ = INVALID_SOCKET;
  SOCKET connection_ = INVALID_SOCKET;
  int port_ = 0;
};

size_t PrivateBytes(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  return GetProcessMemoryInfo(process, &counters, sizeof counters) ? counters.PagefileUsage : 0;
}

class TelluLaunchTest : public ::testing::Test, protected wintest::LaunchRig {};

TEST_F(TelluLaunchTest, PatchesStartsRestoresAndRelays) {
  ASSERT_GT(server.port(), 0);
  TelluProcess tellu(TelluIni(title, "", 30));
  ASSERT_TRUE(tellu.Start());
  HWND bar = tellu.WaitForBar();
  ASSERT_NE(bar, nullptr);

  // The host read "localhost" and connected to Tellu; once its window was
  // found the file came back byte for byte and the backup went.
  HWND host_window = nullptr;
  ASSERT_TRUE(
      Poll([&] { return (host_window = FindTopLevelWindow(title + " with Tellu.")) != nullptr; }));
  EXPECT_TRUE(
      Poll([&] { return GetFileAttributesW(BackupPath().c_str()) == INVALID_FILE_ATTRIBUTES; }));
  EXPECT_EQ(host_ini.Read(), host_ini_bytes);
  EXPECT_TRUE(HasLine(log, "connect localhost:" + std::to_string(rn)));

  // The login reaches the server as the host sent it.
  const std::string login = std::string("\x01\x06\x03\x08" "fakehost" "\x04\x01" "1" "\x05\x06") +
                            "tester";
  ASSERT_TRUE(Poll([&] { return !server.Payloads().empty(); }));
  EXPECT_EQ(server.Payloads()[0], login);
  EXPECT_TRUE(HasLine(log, "T " + Hex(login)));

  // A chat line from the server reaches the host.
  const std::string said = std::string("\x01\x0E\x00\x03" "Bob" "\x05" "hello", 13);
  server.Send(said);
  EXPECT_TRUE(Poll([&] { return HasLine(log, "R " + Hex(said)); }));

  // A line typed in the bar goes to the server as a say.
  ASSERT_TRUE(tellu.WaitForDock());
  HWND edit = GetDlgItem(bar, IDC_BAR_EDIT);
  Type(edit, L"hi");
  Key(edit, VK_RETURN);
  const std::string say_hi("\x01\x0E\x00\x00\x02" "hi", 7);
  EXPECT_TRUE(Poll([&] { return server.Payloads().size() == 2; }));
  wintest::CaptureWindow(bar, "tellu_launch_bar.bmp");
  wintest::CaptureWindow(host_window, "tellu_docked_on_host.bmp");

  // The status menu, from the keyboard: the second status is "away".
  auto choose_second_status = [&](const char* picture) {
    ClickButton(bar, IDC_BAR_STATUS);
    // The frame is created before its item pane and shown after it: keys go
    // to the pane only once the frame shows.
    HWND menu = nullptr, items = nullptr;
    if (!Poll([&] {
          menu = tellu.FindWindowOfClass(L"BitmapMenu");
          items = menu && IsWindowVisible(menu) ? GetWindow(menu, GW_CHILD) : nullptr;
          return items != nullptr;
        }))
      return false;
    if (picture) wintest::CaptureWindow(menu, picture);
    Key(items, VK_DOWN);
    Key(items, VK_DOWN);
    Key(items, VK_RETURN);
    return Poll([&] { return tellu.FindWindowOfClass(L"BitmapMenu") == nullptr; });
  };
  ASSERT_TRUE(choose_second_status("tellu_status_menu.bmp"));
  // Own room position: room 0, 02 02, x 0, y 0, z with the mark 1, dir with status 1.
  const std::string away("\x01\x12\x00\x00\x02\x02\x00\x00\x00\x00\x00\x01\x00\x01", 14);
  const std::string back("\x01\x12\x00\x00\x02\x02\x00\x00\x00\x00\x00\x01\x00\x00", 14);
  EXPECT_TRUE(Poll([&] { return server.Payloads().size() == 3; }));
  // The status in force again sends nothing; speaking sets it back to normal.
  ASSERT_TRUE(choose_second_status(nullptr));
  Type(edit, L"z");
  Key(edit, VK_RETURN);
  const std::string say_z("\x01\x0E\x00\x00\x01" "z", 6);
  EXPECT_TRUE(Poll([&] { return server.Payloads().size() == 5; }));
  EXPECT_EQ(server.Payloads(), (std::vector<std::string>{login, say_hi, away, back, say_z}));

  // The keys of virtual movement: Page Up lifts the avatar by 16 for
  // everyone else, Home puts it back; F4 starts a whisper to the last speaker.
  Key(edit, VK_PRIOR);
  Key(edit, VK_HOME);
  Key(edit, VK_F4);
  const std::string lifted("\x01\x01\x00\x00\x00\x00\x00\x11\x00\x00", 10);
  const std::string level("\x01\x01\x00\x00\x00\x00\x00\x01\x00\x00", 10);
  EXPECT_TRUE(Poll([&] { return server.Payloads().size() == 8; }));
  const auto moves = server.Payloads();
  ASSERT_EQ(moves.size(), 8u);
  EXPECT_EQ(std::vector<std::string>(moves.begin() + 5, moves.end()),
            (std::vector<std::string>{lifted, level, level}));
  EXPECT_EQ(wintest::WindowTextOf(edit), L"Bob:");
  SetWindowTextW(edit, L"");

  // Someone in the room wears an avatar: the avatar change menu offers it.
  server.Send(std::string("\xFF\x0D\x03" "Bob" "\x02", 7));
  const std::string wears = std::string("\x00\x03" "Bob" "\x03\x05\x0A", 8) + "av\\bob.mov";
  server.Send(wears);
  ASSERT_TRUE(Poll([&] { return HasLine(log, "R " + Hex(wears)); }));
  PostMessageW(bar, WM_SYSCOMMAND, 512, 0);
  HWND change_menu = nullptr;
  ASSERT_TRUE(Poll([&] {
    change_menu = tellu.FindWindowOfClass(L"#32768");
    return change_menu && IsWindowVisible(change_menu);
  }));
  wintest::CaptureWindow(change_menu, "tellu_avatar_change_menu.bmp");
  Key(change_menu, VK_DOWN);
  Key(change_menu, VK_RETURN);
  // The default avatar first, then the chosen one, then where the user is.
  EXPECT_TRUE(Poll([&] { return server.Payloads().size() == 11; }));
  const auto payloads = server.Payloads();
  ASSERT_GE(payloads.size(), 11u);
  EXPECT_EQ(payloads[8], std::string("\x01\x03\x05\x09" "Vavar.uza", 13));
  EXPECT_EQ(payloads[9], std::string("\x01\x03\x05\x0A" "av\\bob.mov", 14));
  EXPECT_EQ(payloads[10], back);

  // The system menu, open.
  PostMessageW(bar, WM_SYSCOMMAND, SC_KEYMENU, VK_SPACE);
  HWND system_menu = nullptr;
  if (Poll([&] {
        system_menu = tellu.FindWindowOfClass(L"#32768");
        return system_menu && IsWindowVisible(system_menu);
      })) {
    wintest::CaptureWindow(system_menu, "tellu_system_menu.bmp");
    Key(system_menu, VK_ESCAPE);
    Key(system_menu, VK_ESCAPE);
    PostMessageW(bar, WM_CANCELMODE, 0, 0);
  } else {
    ADD_FAILURE() << "the system menu did not open";
  }

  PostMessageW(bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(tellu.WaitForExit(), 0);
  EXPECT_EQ(WindowText(host_window), title);
  EXPECT_EQ(host_ini.Read(), host_ini_bytes);
  CloseLaunchedHost(log);
}

// A host that stops reading: tellu.exe stops taking the server's bytes once
// a little is queued for the host, so its memory stays bounded and the rest
// waits in the server's kernel buffers.
TEST_F(TelluLaunchTest, AHostThatStopsReadingHoldsTheServerBack) {
  FloodServer flood;
  ASSERT_GT(flood.port(), 0);
  TelluProcess tellu(TelluIni(title, " --read no", 30, flood.port()));
  ASSERT_TRUE(tellu.Start());
  ASSERT_NE(tellu.WaitForBar(), nullptr);
  ASSERT_TRUE(flood.Accept());
  ASSERT_TRUE(Poll([&] { return HasLine(log, "connected"); }));
  const size_t before = PrivateBytes(tellu.handle());
  ASSERT_GT(before, 0u);
  // Payloads the dispatcher passes on untouched, 255 bytes a frame.
  const std::string frame = "\xFF\x02\x02" + std::string(252, 'x');
  constexpr size_t kOffered = 256u << 20;
  const size_t taken = flood.Flood(frame, kOffered, 60);
  const size_t after = PrivateBytes(tellu.handle());
  EXPECT_LT(taken, 64u << 20);
  EXPECT_LT(after, before + (48u << 20)) << "before " << before << ", after " << after
                                         << ", the server handed over " << taken;
  PostMessageW(tellu.Bar(), WM_CLOSE, 0, 0);
  EXPECT_EQ(tellu.WaitForExit(), 0);
  CloseLaunchedHost(log);
}

TEST_F(TelluLaunchTest, TheLogWindowFollowsTheChatFromItem48) {
  TelluProcess tellu(TelluIni(title, "", 30));
  ASSERT_TRUE(tellu.Start());
  HWND bar = tellu.WaitForBar();
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(Poll([&] { return !server.Payloads().empty(); }));
  ASSERT_TRUE(tellu.WaitForDock());
  auto log_window = [&] {
    return tellu.FindWindowWhere([](HWND w) {
      return wintest::WindowTextOf(w).rfind(L"LogDisplay (", 0) == 0 && IsWindowVisible(w);
    });
  };
  // The view's paragraphs end in CR LF; the lines were appended with LF.
  auto view_text = [](HWND w) {
    std::wstring text = wintest::WindowTextOf(GetDlgItem(w, IDC_LOG_VIEW));
    for (size_t at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n", at))
      text.erase(at, 1);
    return text;
  };

  PostMessageW(bar, WM_SYSCOMMAND, 48, 0);
  HWND shown = nullptr;
  ASSERT_TRUE(Poll([&] { return (shown = log_window()) != nullptr; }));
  EXPECT_EQ(wintest::WindowTextOf(shown), L"LogDisplay (  0%)");
  server.Send(std::string("\x01\x0E\x00\x03" "Bob" "\x0E" "see www.a.jp !", 22));
  server.Send(std::string("\x01\x11\x00\x03" "Ann" "\x04" "psst", 12));
  const std::wstring both = L"\n<Bob> see www.a.jp !\n{Ann -> tester} psst";
  EXPECT_TRUE(Poll([&] { return view_text(shown) == both; })) << view_text(shown);
  wintest::CaptureWindow(shown, "tellu_log_window_launch.bmp");

  // Closed and opened again, it shows the store at once.
  PostMessageW(shown, WM_COMMAND, MAKEWPARAM(IDC_LOG_CLOSE, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(shown, IDC_LOG_CLOSE)));
  ASSERT_TRUE(Poll([&] { return !IsWindow(shown); }));
  PostMessageW(bar, WM_SYSCOMMAND, 48, 0);
  ASSERT_TRUE(Poll([&] { return (shown = log_window()) != nullptr; }));
  EXPECT_EQ(view_text(shown), both);

  // The server goes: the notice follows in the view.
  server.Drop();
  const std::wstring lost = both + Wide(kServerLostNotice);
  EXPECT_TRUE(Poll([&] { return view_text(shown) == lost; }))
      << view_text(shown);
  PostMessageW(bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(tellu.WaitForExit(), 0);
  CloseLaunchedHost(log);
}

TEST_F(TelluLaunchTest, AHostWhoseWindowNeverComesEndsTheRunAndTheFileIsBack) {
  // The host starts, but under another caption; one second is all it gets.
  TelluProcess tellu(
      TelluIni(title, " --title \"other " + std::to_string(GetCurrentProcessId()) + "\"", 1));
  ASSERT_TRUE(tellu.Start());
  HWND box = tellu.WaitForMessageBox(L"Tellu");
  ASSERT_NE(box, nullptr);
  const std::string ini = Sjis(host_ini.path());
  EXPECT_EQ(wintest::MessageBoxText(box),
            Wide("*** let RV/K run but cann't find! ***\r\n[history]\r\nStart Tellu\r\n"
                 "checking tellu.ini :" + Sjis(tellu.ini()) + "\r\n"
                 "checking ini_file :" + ini + "\r\nreading ini_file :" + ini +
                 "\r\nexecute " + HostDir() + "\\fakehost.exe\r\n"));
  EXPECT_EQ(host_ini.Read(), host_ini_bytes);
  EXPECT_EQ(GetFileAttributesW(BackupPath().c_str()), INVALID_FILE_ATTRIBUTES);
  wintest::PressOk(box);
  EXPECT_EQ(tellu.WaitForExit(), 2);
  CloseLaunchedHost(log);
}

TEST_F(TelluLaunchTest, ASavedWindowStateMovesTheHostAndPlacesTheBarOnTop) {
  TelluProcess tellu(TelluIni(title, "", 30) +
                     "PositionSaveFlag=1\r\nPosition_RV=100,120\r\nPositionTelluWindow=30,40\r\n"
                     "SizeTelluWindow=400,80\r\nMostTopChk=1\r\n");
  ASSERT_TRUE(tellu.Start());
  HWND bar = tellu.WaitForBar();
  ASSERT_NE(bar, nullptr);
  HWND host_window = nullptr;
  ASSERT_TRUE(
      Poll([&] { return (host_window = FindTopLevelWindow(title + " with Tellu.")) != nullptr; }));
  ASSERT_TRUE(tellu.WaitForDock());
  RECT h, b;
  GetWindowRect(host_window, &h);
  GetWindowRect(bar, &b);
  EXPECT_EQ(h.left, 100);
  EXPECT_EQ(h.top, 120);
  EXPECT_EQ(b.left, 30);
  EXPECT_EQ(b.top, 40);
  EXPECT_EQ(b.right - b.left, 400);
  EXPECT_EQ(b.bottom - b.top, 80);
  EXPECT_TRUE(Poll([&] { return (GetWindowLongW(bar, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }));
  // The controls follow the saved size: the field ends where the small
  // buttons begin, the status button at the right edge.
  RECT edit, status, client;
  GetWindowRect(GetDlgItem(bar, IDC_BAR_EDIT), &edit);
  GetWindowRect(GetDlgItem(bar, IDC_BAR_STATUS), &status);
  GetClientRect(bar, &client);
  POINT right{client.right, client.bottom};
  ClientToScreen(bar, &right);
  EXPECT_EQ(status.right, right.x);
  EXPECT_LT(edit.right, status.left);
  PostMessageW(bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(tellu.WaitForExit(), 0);
  CloseLaunchedHost(log);
}

TEST(TelluLaunch, NoCompleteSlotIsFatal) {
  TelluProcess tellu("[SYSTEM]\r\nRN=" + std::to_string(wintest::FreePort()) +
                     "\r\n[SYS1]\r\nINIFILE=tellu_nothing.ini\r\n");
  ASSERT_TRUE(tellu.Start());
  EXPECT_EQ(tellu.AnswerMessageBox(L"Tellu"),
            L"*** try to run RV/K but failed! ***\r\n[history]\r\nStart Tellu\r\n"
            L"checking tellu.ini :" + tellu.ini() + L"\r\n"
            L"checking ini_file :" + wintest::WindowsDir() + L"\\tellu_nothing.ini\r\n");
  EXPECT_EQ(tellu.WaitForExit(), 2);
}

TEST(TelluLaunch, AProfileWithoutItsFirstSlotSaysSoThenEnds) {
  // A profile of SYSTEM alone, then none at all (a first start): the report
  // names the file that was read.
  for (const bool written : {true, false}) {
    TelluProcess tellu("[SYSTEM]\r\nRN=" + std::to_string(wintest::FreePort()) + "\r\n");
    if (!written) {
      ASSERT_TRUE(DeleteFileW(tellu.ini().c_str()));
    }
    ASSERT_TRUE(tellu.Start());
    ASSERT_EQ(tellu.AnswerMessageBox(L"Tellu"), L"cann't find tellu.ini.");
    EXPECT_EQ(tellu.AnswerMessageBox(L"Tellu"),
              L"*** try to run RV/K but failed! ***\r\n[history]\r\nStart Tellu\r\n"
              L"checking tellu.ini :" + tellu.ini() + L"\r\n");
    EXPECT_EQ(tellu.WaitForExit(), 2);
    // Nothing is written on the way out.
    EXPECT_EQ(GetFileAttributesW(tellu.ini().c_str()) != INVALID_FILE_ATTRIBUTES, written);
  }
}

}  // namespace
}  // namespace tellu
