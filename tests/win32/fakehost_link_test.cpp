// fakehost as the host on the chat connection: it finds the server in its
// configuration file, logs in, and records what the server sends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakehost_process.h"
#include "win32/message_window.h"
#include "win32/wide_text.h"
#include "win32/win_net.h"

namespace tellu {
namespace {

constexpr DWORD kDeadlineMs = 30000;

TEST(FakeHostLink, LogsInToTheServerNamedInItsConfigurationAndRecordsWhatComes) {
  WinsockSession winsock;
  MessageWindow events;
  WinNet net(events);
  std::unique_ptr<Stream> connection;
  std::string received;
  auto listener = net.Listen(0, [&](std::unique_ptr<Stream> s) {
    connection = std::move(s);
    connection->SetHandlers([&](std::string_view b) { received.append(b); }, [] {});
  });
  ASSERT_NE(listener, nullptr);

  // The host's configuration file lives in the Windows directory.
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  const std::wstring ini_name = L"tellu_fakehost_" + std::to_wstring(GetCurrentProcessId()) + L".ini";
  const std::wstring ini = std::wstring(windows) + L"\\" + ini_name;
  ASSERT_TRUE(WritePrivateProfileStringW(L"Network", L"Server", L"127.0.0.1", ini.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringW(L"Network", L"Title", L"fakehost link test", ini.c_str()));

  {
    // The name "テスト" goes on the wire as UTF-8.
    wintest::FakeHost host(L"--ini " + ini_name + L" --section Network --key Server --port " +
                           std::to_wstring(listener->Port()) + L" --name \u30C6\u30B9\u30C8");
    ASSERT_TRUE(host.started());
    // No --title: the caption comes from the configuration.
    ASSERT_NE(host.WaitForWindow("fakehost link test"), nullptr);
    const std::string login = std::string("\x01\x06\x03\x08" "fakehost" "\x04\x01" "1" "\x05\x09") +
                              "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88";
    ASSERT_TRUE(PumpMessagesUntil([&] { return received.size() >= 1 + login.size(); }, kDeadlineMs));
    // The length byte counts itself.
    EXPECT_EQ(static_cast<size_t>(static_cast<unsigned char>(received[0])), login.size() + 1);
    EXPECT_EQ(received.substr(1), login);

    // A chat text, framed, cut in two.
    connection->Send(std::string("\x06\x01\x0E\x00\x01", 5));
    connection->Send("A");
    EXPECT_TRUE(host.WaitForLine("R 01 0e 00 01 41"));
  }
  DeleteFileW(ini.c_str());
}

}  // namespace
}  // namespace tellu
