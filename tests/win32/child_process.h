// Test helper: a program of this build run as a child process (found from
// an environment variable), its scratch folders and files, and the one kind
// of wait the Windows tests use, which always ends at a deadline.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace tellu::wintest {

// The bound of a wait unless the caller names its own.
inline constexpr DWORD kWaitMs = 30000;

// Runs this thread's messages until done() holds; false when the deadline
// passed first.  A thread timer wakes it to look again at other programs.
bool Poll(const std::function<bool()>& done, DWORD ms = kWaitMs);

// The program an environment variable names; a Unix path is taken as Wine's Z:.
std::wstring ProgramPath(const char* variable);
// A new empty folder in the temporary folder, without a trailing backslash.
std::wstring ScratchDir(const std::wstring& stem);
// A fresh file name in the temporary folder; no file has it yet.
std::wstring TempFile(const std::wstring& stem);
// Reads a file that another process may still be writing.
std::string ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, std::string_view bytes);
bool Exists(const std::wstring& path);
// A loopback TCP port that was free a moment ago.
int FreePort();

class ChildProcess {
 public:
  ChildProcess() = default;
  // Stops the process if it still runs.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Runs a command line, from `folder` when one is given.
  bool Start(const std::wstring& command, const std::wstring& folder = L"");
  // The same without a console, its standard streams on pipes.
  bool StartPiped(const std::wstring& command);
  bool started() const { return process_ != nullptr; }
  HANDLE handle() const { return process_; }
  DWORD pid() const { return pid_; }
  bool Running() const;

  // The exit status, or -1 when the process has not ended in time.  After
  // the end, Out and Err hold everything it wrote.
  int Wait(DWORD ms = kWaitMs);
  // Asks `window` (if any) to close, gives the process 10 s, then ends it.
  void Stop(HWND window = nullptr);

  // Writes to standard input; false when it is not a pipe or is closed.
  bool Type(std::string_view bytes);
  // What came on standard output and standard error so far, CR LF as LF.
  std::string Out() const;
  std::string Err() const;

 private:
  bool Launch(std::wstring command, const wchar_t* folder, STARTUPINFOW& startup, BOOL inherit,
              DWORD flags);
  void Collect(HANDLE pipe, std::string& text);
  void StopReaders();

  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
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

}  // namespace tellu::wintest
