// Test helper for tellu-cli.exe: the program as a child process with its
// standard streams on pipes, scratch folders, and loopback sockets whose
// every wait has a deadline.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <functional>
#include <atomic>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace tellu::testing {

// The bound of every wait in these tests.
inline constexpr DWORD kCliWaitMs = 15000;

// Where tellu-cli.exe is (TELLU_CLI; a Unix path is taken as Wine's Z:).
std::wstring CliPath();
// A new empty folder in the temporary folder, without a trailing backslash.
std::wstring ScratchDir(const std::wstring& stem);
std::string ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, std::string_view bytes);
bool Exists(const std::wstring& path);
// Polls until done() holds; false when the deadline passed first.
bool WaitUntil(const std::function<bool()>& done, DWORD ms = kCliWaitMs);

class CliProcess {
 public:
  // Starts tellu-cli.exe with these arguments.
  explicit CliProcess(const std::wstring& args);
  // Ends the process if it is still running.
  ~CliProcess();
  CliProcess(const CliProcess&) = delete;
  CliProcess& operator=(const CliProcess&) = delete;

  bool started() const { return process_ != nullptr; }
  bool Type(std::string_view bytes);
  // What came on standard output and standard error so far, CR LF as LF.
  std::string Out() const;
  std::string Err() const;
  // The exit status, or -1 when the program has not ended in time.  After
  // the end, Out and Err hold everything the program wrote.
  int Wait();

 private:
  void Collect(HANDLE pipe, std::string& text);
  void StopReaders();

  HANDLE process_ = nullptr;
  HANDLE input_ = nullptr;
  mutable std::mutex lock_;
  std::string out_;
  std::string err_;
  // Set once the child has ended and its output had time to arrive: the
  // readers stop even if another process still holds a writing end.
  std::atomic<bool> stop_{false};
  std::atomic<int> readers_done_{0};
  std::thread out_reader_;
  std::thread err_reader_;
};

// A port that was free a moment ago.
int FreePort();

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

}  // namespace tellu::testing
