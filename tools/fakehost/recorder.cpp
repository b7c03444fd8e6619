#include "recorder.h"

#include <cstdio>

namespace tellu::fakehost {
namespace {

const char* Name(UINT message) {
  switch (message) {
    case WM_ACTIVATE: return "WM_ACTIVATE";
    case WM_SETFOCUS: return "WM_SETFOCUS";
    case WM_KILLFOCUS: return "WM_KILLFOCUS";
    case WM_ACTIVATEAPP: return "WM_ACTIVATEAPP";
    case WM_SETCURSOR: return "WM_SETCURSOR";
    case WM_MOUSEACTIVATE: return "WM_MOUSEACTIVATE";
    case WM_NCACTIVATE: return "WM_NCACTIVATE";
    case WM_KEYDOWN: return "WM_KEYDOWN";
    case WM_KEYUP: return "WM_KEYUP";
    case WM_CHAR: return "WM_CHAR";
    case WM_MOUSEMOVE: return "WM_MOUSEMOVE";
    case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return "WM_LBUTTONUP";
    case WM_IME_SETCONTEXT: return "WM_IME_SETCONTEXT";
    case WM_IME_NOTIFY: return "WM_IME_NOTIFY";
    case WM_IME_CHAR: return "WM_IME_CHAR";
    case WM_IME_COMPOSITION: return "WM_IME_COMPOSITION";
    case WM_CLOSE: return "WM_CLOSE";
    default: return nullptr;
  }
}

}  // namespace

char Recorder::Tag(Arrival arrival) {
  switch (arrival) {
    case Arrival::Sent: return 'S';
    case Arrival::Posted: return 'P';
    case Arrival::Local: break;
  }
  return 'L';
}

Recorder::Recorder(const std::wstring& path) {
  if (path.empty()) return;
  // Shared, so a test can read it while it grows; each line is written
  // through at once.
  file_ = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

Recorder::~Recorder() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

void Recorder::Message(Arrival arrival, UINT message, WPARAM wparam, LPARAM lparam) {
  char line[96];
  const char* name = Name(message);
  if (message >= WM_APP && message <= 0xBFFF) {
    snprintf(line, sizeof line, "%c WM_APP+%u %llx %llx", Tag(arrival), message - WM_APP,
             static_cast<unsigned long long>(wparam), static_cast<unsigned long long>(lparam));
  } else if (name) {
    snprintf(line, sizeof line, "%c %s %llx %llx", Tag(arrival), name,
             static_cast<unsigned long long>(wparam), static_cast<unsigned long long>(lparam));
  } else {
    return;
  }
  Line(line);
}

void Recorder::Line(const std::string& line) {
  if (file_ == INVALID_HANDLE_VALUE) {
    printf("%s\n", line.c_str());
    fflush(stdout);
    return;
  }
  const std::string out = line + "\r\n";
  DWORD written = 0;
  WriteFile(file_, out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
}

}  // namespace tellu::fakehost
