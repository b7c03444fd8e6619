// Test helper for tellu-cli.exe: the program as a child process with its
// standard streams on pipes, and loopback sockets whose every wait has a
// deadline.
#pragma once
#include <winsock2.h>

#include <functional>
#include <string>
#include <string_view>

#include "child_process.h"

namespace tellu::wintest {

// The bound of a wait for the program or a socket in these tests.
inline constexpr DWORD kCliWaitMs = 15000;

// tellu-cli.exe (TELLU_CLI) with its standard streams on pipes.
class CliProcess : public ChildProcess {
 public:
  explicit CliProcess(const std::wstring& args) {
    StartPiped(L"\"" + ProgramPath("TELLU_CLI") + L"\" " + args);
  }
  int Wait() { return ChildProcess::Wait(kCliWaitMs); }
};

// One end of a loopback TCP connection carrying framed payloads.
class FramedSocket {
 public:
  explicit FramedSocket(SOCKET s = INVALID_SOCKET) : socket_(s) {}
  ~FramedSocket();
  FramedSocket(FramedSocket&& other) noexcept;
  FramedSocket& operator=(FramedSocket&& other) noexcept;

  bool ok() const { return socket_ != INVALID_SOCKET; }
  bool Send(std::string_view payload);
  // The next payload; false at the deadline or when the peer closed.
  bool Next(std::string& payload, DWORD ms = kCliWaitMs);
  // The next payload for which want holds, skipping others.
  bool NextWhere(const std::function<bool(const std::string&)>& want, std::string& payload);

 private:
  SOCKET socket_;
  std::string buffer_;
};

// A listening socket on the loopback address; port 0 takes a free one.
class TestListener {
 public:
  TestListener();
  ~TestListener();
  int port() const { return port_; }
  FramedSocket Accept(DWORD ms = kCliWaitMs);

 private:
  SOCKET socket_ = INVALID_SOCKET;
  int port_ = 0;
};

// Connects to a loopback port, trying again until it listens.
FramedSocket ConnectTo(int port, DWORD ms = kCliWaitMs);

}  // namespace tellu::wintest
