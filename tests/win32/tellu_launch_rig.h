// Test helper: tellu.exe in launch mode between tools/fakehost (started
// through PROG) and a chat server played by the test, and the keys and
// clicks posted to its windows.
#pragma once
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "../../tools/fakehost/remote.h"
#include "fakehost_process.h"
#include "tellu_process.h"
#include "gui/host_window.h"
#include "win32/message_window.h"
#include "win32/wide_text.h"
#include "win32/win_net.h"

namespace tellu::wintest {

inline std::string Hex(std::string_view bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char b : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

inline bool HasLine(const std::wstring& log, const std::string& line) {
  for (const std::string& l : FileLines(log))
    if (l == line) return true;
  return false;
}

// The chat server: takes Tellu's connection and keeps the payloads it gets.
class TestServer {
 public:
  TestServer() {
    listener_ = net_.Listen(0, [this](std::unique_ptr<Stream> s) {
      connection_ = std::move(s);
      connection_->SetHandlers([this](std::string_view b) { bytes_.append(b); }, [] {});
    });
  }
  int port() const { return listener_ ? listener_->Port() : 0; }
  bool connected() const { return connection_ != nullptr; }
  void Drop() { connection_.reset(); }
  void Send(const std::string& payload) { SendAll({payload}); }
  // In one write, so that Tellu reads them together.
  void SendAll(const std::vector<std::string>& payloads) {
    std::string bytes;
    for (const std::string& p : payloads) bytes += static_cast<char>(p.size() + 1) + p;
    connection_->Send(bytes);
  }
  std::vector<std::string> Payloads() const {
    std::vector<std::string> out;
    size_t at = 0;
    while (at < bytes_.size()) {
      const size_t length = static_cast<unsigned char>(bytes_[at]);
      if (length < 1 || at + length > bytes_.size()) break;
      out.push_back(bytes_.substr(at + 1, length - 1));
      at += length;
    }
    return out;
  }

 private:
  MessageWindow events_;
  WinNet net_{events_};
  std::unique_ptr<Listener> listener_;
  std::unique_ptr<Stream> connection_;
  std::string bytes_;
};

// A host tellu.exe started: closed through the window its record names.
inline void CloseLaunchedHost(const std::wstring& log) {
  Poll([&] {
    for (const std::string& line : FileLines(log))
      if (line.rfind("ready ", 0) == 0) return true;
    return false;
  });
  for (const std::string& line : FileLines(log))
    if (line.rfind("ready ", 0) == 0)
      PostMessageW(reinterpret_cast<HWND>(strtoull(line.c_str() + 6, nullptr, 16)), WM_CLOSE, 0,
                   0);
  Poll([&] { return HasLine(log, "exit"); });
  DeleteFileW(log.c_str());
}

// The host sends a payload of its own to the server, through Tellu.
inline bool HostSends(HWND host, const std::string& payload) {
  COPYDATASTRUCT data{fakehost::kSendPayload, static_cast<DWORD>(payload.size()),
                      const_cast<char*>(payload.data())};
  return SendMessageW(host, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)) == TRUE;
}

// The host's configuration file in the Windows folder, the server, and a
// tellu.ini whose slot 1 starts fakehost from its own folder.
class LaunchRig {
 protected:
  // A host a failed test left running would keep its tagged caption and
  // turn every later launch away.
  ~LaunchRig() {
    if (!FileLines(log).empty()) CloseLaunchedHost(log);
  }
  std::string HostDir() const {
    const std::string path = Sjis(FakeHostPath());
    return path.substr(0, path.rfind('\\'));
  }
  std::string HostIni(const std::string& title) const {
    return "[CHAT]\r\nSERVER=127.0.0.1\r\nDIR=" + HostDir() + "\r\nTitle=" + title + "\r\n";
  }
  // Ends inside section SYS1, so more of its keys may follow.
  std::string TelluIni(const std::string& title, const std::string& fakehost_args,
                       int search_timer, int server_port = 0) const {
    return "[SYSTEM]\r\nRN=" + std::to_string(rn) + "\r\nSN=" +
           std::to_string(server_port ? server_port : server.port()) +
           "\r\nSYS1=" + title + "\r\n[SYS1]\r\nINIFILE=" + Sjis(host_ini.name()) +
           "\r\nPRODIR=DIR\r\nCHGSEC=CHAT\r\nCHGKEY=SERVER\r\nPROG=&\\fakehost.exe --ini " +
           Sjis(host_ini.name()) + " --section CHAT --key SERVER --port " + std::to_string(rn) +
           " --name tester --log " + Sjis(log) + fakehost_args +
           "\r\nSearchTimer=" + std::to_string(search_timer) + "\r\n";
  }
  // Starts tellu.exe and waits until the bar is up and docked and, unless
  // the host holds its login, the login has reached the server; the host's
  // window, nullptr when a step fails.
  HWND StartDocked(TelluProcess& tellu, bool logged_in = true) {
    if (!tellu.Start() || !tellu.WaitForBar()) return nullptr;
    if (logged_in && !Poll([&] { return !server.Payloads().empty(); })) return nullptr;
    if (!tellu.WaitForDock()) return nullptr;
    return FindTopLevelWindow(title + " with Tellu.");
  }
  std::wstring BackupPath() const {
    const std::wstring& p = host_ini.path();
    return p.substr(0, p.size() - 3) + L"sav";
  }

  WinsockSession winsock;
  TestServer server;
  const int rn = FreePort();
  const std::string title = "Tellu launch test " + std::to_string(GetCurrentProcessId());
  const std::string host_ini_bytes = HostIni(title);
  WindowsDirFile host_ini{L"tellu_launch_" + std::to_wstring(GetCurrentProcessId()) + L".ini",
                          host_ini_bytes};
  const std::wstring log = TempFile(L"launched");
};

}  // namespace tellu::wintest
