#include "console/win_stdin.h"

#include <algorithm>
#include <string_view>

namespace tellu {

WinStdin::WinStdin(WinConsoleLoop& loop, LineFn on_line, EndFn on_end)
    : loop_(loop),
      on_line_(std::move(on_line)),
      on_end_(std::move(on_end)),
      input_(GetStdHandle(STD_INPUT_HANDLE)) {
  DWORD mode = 0;
  if (input_ && input_ != INVALID_HANDLE_VALUE && GetConsoleMode(input_, &mode)) {
    console_ = true;
    // Keys read as records are not echoed by the console: this program
    // shows them, on the screen even when standard output goes elsewhere.
    echo_ = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    loop_.WatchHandle(input_, [this] { ReadConsoleKeys(); });
    return;
  }
  // No input at all fails its first read and ends at the first tick.
  pipe_ = input_ && input_ != INVALID_HANDLE_VALUE && GetFileType(input_) == FILE_TYPE_PIPE;
  timer_ = loop_.window().StartTimer(kPollMs, [this] { Poll(); });
}

WinStdin::~WinStdin() {
  if (console_ && open_) loop_.WatchHandle(nullptr, nullptr);
  if (timer_) loop_.window().KillTimer(timer_);
  if (echo_ != INVALID_HANDLE_VALUE) CloseHandle(echo_);
}

void WinStdin::ReadConsoleKeys() {
  InputLines got;
  INPUT_RECORD records[64];
  DWORD count = 0;
  DWORD read = 0;
  if (!GetNumberOfConsoleInputEvents(input_, &count)) {
    got.end = true;
  } else if (count == 0) {
    return;
  } else if (!ReadConsoleInputW(input_, records, std::min<DWORD>(count, 64), &read)) {
    got.end = true;
  }
  for (DWORD i = 0; i < read && !got.end; ++i)
    if (records[i].EventType == KEY_EVENT) editor_.Key(records[i].Event.KeyEvent, got);
  Deliver(got);
}

void WinStdin::Poll() {
  char buffer[4096];
  InputLines got;
  // A few reads a tick keep a fast pipe flowing without holding the loop.
  for (int i = 0; i < 16 && !got.end; ++i) {
    DWORD want = sizeof buffer;
    if (pipe_) {
      DWORD available = 0;
      // Fails once the writer has gone and everything is read.
      if (!PeekNamedPipe(input_, nullptr, 0, nullptr, &available, nullptr)) {
        pipe_lines_.Finish(got);
        break;
      }
      if (available == 0) break;
      want = std::min<DWORD>(available, want);
    }
    DWORD read = 0;
    if (!ReadFile(input_, buffer, want, &read, nullptr) || read == 0) {
      pipe_lines_.Finish(got);
      break;
    }
    pipe_lines_.Feed(std::string_view(buffer, read), got);
  }
  Deliver(got);
}

void WinStdin::Deliver(const InputLines& got) {
  if (!got.echo.empty() && echo_ != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteConsoleW(echo_, got.echo.data(), static_cast<DWORD>(got.echo.size()), &written, nullptr);
  }
  for (const std::string& line : got.lines) {
    // Lines after /quit are not run.
    if (!open_ || loop_.quitting()) return;
    on_line_(line);
  }
  if (got.end) End();
}

void WinStdin::End() {
  if (!open_) return;
  open_ = false;
  if (console_) loop_.WatchHandle(nullptr, nullptr);
  if (timer_) loop_.window().KillTimer(timer_);
  timer_ = 0;
  if (on_end_) on_end_();
}

}  // namespace tellu
