// Test helper: runs tools/fakehost as a child process and reads its record.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace tellu::testing {

// Where fakehost.exe is (TELLU_FAKEHOST; a Unix path is taken as Wine's Z:).
std::wstring FakeHostPath();
// A fresh file name in the temporary folder.
std::wstring TempFile(const std::wstring& stem);

class FakeHost {
 public:
  // Starts fakehost with these arguments and "--log" to a fresh file.
  explicit FakeHost(const std::wstring& args);
  // Closes the window, then ends the process if it lingers.
  ~FakeHost();
  FakeHost(const FakeHost&) = delete;
  FakeHost& operator=(const FakeHost&) = delete;

  bool started() const { return process_ != nullptr; }
  // Waits (running this thread's messages) until the window named title
  // shows; nullptr when it does not.
  HWND WaitForWindow(const std::string& title);
  // The record so far, one entry per line.
  std::vector<std::string> Lines() const;
  // Waits until a line equal to `line` is in the record.
  bool WaitForLine(const std::string& line);
  // Posts a marker behind everything posted so far and waits until the
  // window has taken it, so the record holds all that came before.
  bool Settle(HWND window);

 private:
  HANDLE process_ = nullptr;
  std::wstring log_;
  int marks_ = 0;
};

// The lines that begin with prefix.
std::vector<std::string> Only(const std::vector<std::string>& lines, const std::string& prefix);

}  // namespace tellu::testing
