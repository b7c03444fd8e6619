#include "win32/win_stdin.h"

#include <algorithm>
#include <mutex>
#include <string_view>

namespace tellu {

struct WinStdin::Handoff {
  explicit Handoff(HANDLE in) : input(in), ready(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Handoff() {
    if (ready) CloseHandle(ready);
  }
  static DWORD WINAPI Read(void* param);

  HANDLE input;
  HANDLE ready;  // set while bytes or the end wait to be taken
  std::mutex lock;
  std::string bytes;
  bool ended = false;
  bool abandoned = false;
};

DWORD WINAPI WinStdin::Handoff::Read(void* param) {
  const std::unique_ptr<std::shared_ptr<Handoff>> owner(static_cast<std::shared_ptr<Handoff>*>(param));
  Handoff& h = **owner;
  for (;;) {
    char buffer[4096];
    DWORD n = 0;
    const bool got = ReadFile(h.input, buffer, sizeof buffer, &n, nullptr) && n > 0;
    std::lock_guard<std::mutex> hold(h.lock);
    if (got)
      h.bytes.append(buffer, n);
    else
      h.ended = true;
    SetEvent(h.ready);
    if (!got || h.abandoned) return 0;
  }
}

WinStdin::WinStdin(WinConsoleLoop& loop, LineFn on_line, EndFn on_end)
    : loop_(loop),
      on_line_(std::move(on_line)),
      on_end_(std::move(on_end)),
      input_(GetStdHandle(STD_INPUT_HANDLE)) {
  DWORD mode = 0;
  const bool valid = input_ && input_ != INVALID_HANDLE_VALUE;
  if (valid && GetConsoleMode(input_, &mode)) {
    console_ = true;
    // Keys read as records are not echoed by the console: this program
    // shows them, on the screen even when standard output goes elsewhere.
    echo_ = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    loop_.WatchHandle(input_, [this] { ReadConsoleKeys(); });
    return;
  }
  pipe_ = valid && GetFileType(input_) == FILE_TYPE_PIPE;
  DWORD available = 0;
  if (pipe_ && !PeekNamedPipe(input_, nullptr, 0, nullptr, &available, nullptr) &&
      GetLastError() != ERROR_BROKEN_PIPE && StartReader())
    return;
  // No input at all fails its first read and ends at the first tick.
  timer_ = loop_.window().StartTimer(kPollMs, [this] { Poll(); });
}

WinStdin::~WinStdin() {
  // A line left half typed: what comes after starts on a line of its own.
  if (console_ && !editor_.line().empty() && echo_ != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteConsoleW(echo_, L"\r\n", 2, &written, nullptr);
  }
  if ((console_ || handoff_) && open_) loop_.WatchHandle(nullptr, nullptr);
  if (handoff_) {
    std::lock_guard<std::mutex> hold(handoff_->lock);
    handoff_->abandoned = true;
  }
  if (timer_) loop_.window().KillTimer(timer_);
  if (echo_ != INVALID_HANDLE_VALUE) CloseHandle(echo_);
}

bool WinStdin::StartReader() {
  auto handoff = std::make_shared<Handoff>(input_);
  if (!handoff->ready) return false;
  auto* param = new std::shared_ptr<Handoff>(handoff);
  const HANDLE thread = CreateThread(nullptr, 0, &Handoff::Read, param, 0, nullptr);
  if (!thread) {
    delete param;
    return false;
  }
  // Never waited for: at the end of the program it may still be in ReadFile.
  CloseHandle(thread);
  handoff_ = std::move(handoff);
  loop_.WatchHandle(handoff_->ready, [this] { TakeHandoff(); });
  return true;
}

void WinStdin::TakeHandoff() {
  std::string bytes;
  bool ended;
  {
    std::lock_guard<std::mutex> hold(handoff_->lock);
    bytes.swap(handoff_->bytes);
    ended = handoff_->ended;
    ResetEvent(handoff_->ready);
  }
  InputLines got;
  pipe_lines_.Feed(bytes, got);
  if (ended) pipe_lines_.Finish(got);
  Deliver(got);
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
  for (const TypedLine& line : got.lines) {
    // Lines after /quit are not run.
    if (!open_ || loop_.quitting()) return;
    on_line_(line);
  }
  if (got.end) End();
}

void WinStdin::End() {
  if (!open_) return;
  open_ = false;
  if (console_ || handoff_) loop_.WatchHandle(nullptr, nullptr);
  if (timer_) loop_.window().KillTimer(timer_);
  timer_ = 0;
  if (on_end_) on_end_();
}

}  // namespace tellu
