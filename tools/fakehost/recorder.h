// fakehost's record: one line per message its window gets and per piece of
// traffic, in a file another program may read while it grows.
#pragma once
#include <windows.h>

#include <string>

namespace tellu::fakehost {

// How a message reached the window.
enum class Arrival {
  Sent,    // SendMessage from another thread or program: "S"
  Posted,  // from the queue: "P"
  Local,   // sent from its own thread (the system's doing): "L"
};

class Recorder {
 public:
  explicit Recorder(const std::wstring& path);
  ~Recorder();
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  // "S WM_CHAR 61 0": the tag, the name and both parameters in hex.
  // Messages of no interest are left out.
  void Message(Arrival arrival, UINT message, WPARAM wparam, LPARAM lparam);
  // A line as it is (UTF-8); to standard output when there is no file.
  void Line(const std::string& line);
  static char Tag(Arrival arrival);

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
};

}  // namespace tellu::fakehost
