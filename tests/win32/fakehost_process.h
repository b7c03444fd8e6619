// Test helper: runs tools/fakehost as a child process and reads its record.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "child_process.h"

namespace tellu::wintest {

using Lines = std::vector<std::string>;

// The lines of a file that another process may still be writing.
Lines FileLines(const std::wstring& path);

inline std::wstring FakeHostPath() { return ProgramPath("TELLU_FAKEHOST"); }

class FakeHost {
 public:
  // Starts fakehost with these arguments and "--log" to a fresh file.
  explicit FakeHost(const std::wstring& args);
  // Closes the window, then ends the process if it lingers.
  ~FakeHost();
  FakeHost(const FakeHost&) = delete;
  FakeHost& operator=(const FakeHost&) = delete;

  bool started() const { return process_.started(); }
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
  ChildProcess process_;
  std::wstring log_;
  int marks_ = 0;
};

// The lines that begin with prefix.
Lines Only(const Lines& lines, const std::string& prefix);

// What fakehost records when another program activates it, types into it
// and lets it go: messages sent to it ("S WM_...") and posted ("P WM_...").
extern const Lines kActivation;
extern const Lines kDeactivation;
extern const Lines kEnter;
Lines Join(std::initializer_list<Lines> parts);
// The messages another program sent, and the keys and characters posted.
Lines SentMessages(const Lines& record);
Lines PostedKeys(const Lines& record);

}  // namespace tellu::wintest
