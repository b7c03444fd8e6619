#include "cli_process_test.h"

#include <ws2tcpip.h>

#include <cstdlib>
#include <filesystem>

#include "chatsim/frame.h"

namespace tellu::testing {
namespace {

std::string WithoutCr(std::string text) {
  std::string out;
  for (char c : text)
    if (c != '\r') out += c;
  return out;
}

sockaddr_in Loopback(int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<u_short>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

bool Readable(SOCKET s, DWORD ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval wait{static_cast<long>(ms / 1000), static_cast<long>(ms % 1000) * 1000};
  return select(0, &set, nullptr, nullptr, &wait) == 1;
}

}  // namespace

std::wstring CliPath() {
  const char* path = getenv("TELLU_CLI");
  std::wstring out;
  if (!path) return out;
  for (const char* p = path; *p; ++p) out += static_cast<wchar_t>(*p == '/' ? '\\' : *p);
  if (path[0] == '/') out = L"Z:" + out;
  return out;
}

std::wstring ScratchDir(const std::wstring& stem) {
  static int count = 0;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring dir = std::wstring(temp) + L"tellu_" + stem + L"_" +
                           std::to_wstring(GetCurrentProcessId()) + L"_" +
                           std::to_wstring(++count);
  // Wine hands out the same process ids run after run: start from an empty folder.
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(dir), ignored);
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

std::string ReadBytes(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
  CloseHandle(file);
  return bytes;
}

bool WriteBytes(const std::wstring& path, std::string_view bytes) {
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD n = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) &&
                  n == bytes.size();
  CloseHandle(file);
  return ok;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WaitUntil(const std::function<bool()>& done, DWORD ms) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= ms) return done();
    Sleep(20);
  }
  return true;
}

CliProcess::CliProcess(const std::wstring& args) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE in_read, in_write, out_read, out_write, err_read, err_write;
  if (!CreatePipe(&in_read, &in_write, &inherit, 0)) return;
  if (!CreatePipe(&out_read, &out_write, &inherit, 0)) return;
  if (!CreatePipe(&err_read, &err_write, &inherit, 0)) return;
  // Only the child's ends are inherited.
  SetHandleInformation(in_write, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(out_read, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(err_read, HANDLE_FLAG_INHERIT, 0);

  std::wstring command = L"\"" + CliPath() + L"\" " + args;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in_read;
  startup.hStdOutput = out_write;
  startup.hStdError = err_write;
  PROCESS_INFORMATION info{};
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                     nullptr, &startup, &info)) {
    process_ = info.hProcess;
    CloseHandle(info.hThread);
  }
  CloseHandle(in_read);
  CloseHandle(out_write);
  CloseHandle(err_write);
  input_ = in_write;
  out_reader_ = std::thread([this, out_read] { Collect(out_read, out_); });
  err_reader_ = std::thread([this, err_read] { Collect(err_read, err_); });
}

CliProcess::~CliProcess() {
  if (input_) CloseHandle(input_);
  if (process_) {
    if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
    WaitForSingleObject(process_, kCliWaitMs);
    CloseHandle(process_);
  }
  StopReaders();
}

// Reads only what is there, so that a writing end left open by some other
// process (Wine may keep one in a console helper) cannot hold the reader
// after the child has ended.
void CliProcess::Collect(HANDLE pipe, std::string& text) {
  char buffer[4096];
  for (;;) {
    DWORD available = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) break;  // all writers gone
    if (available == 0) {
      if (stop_) break;
      Sleep(5);
      continue;
    }
    DWORD n = 0;
    if (!ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) || n == 0) break;
    std::lock_guard<std::mutex> hold(lock_);
    text.append(buffer, n);
  }
  CloseHandle(pipe);
  ++readers_done_;
}

void CliProcess::StopReaders() {
  // The child is gone; whatever it wrote is in the pipes by now or soon.
  const DWORD deadline = GetTickCount() + 2000;
  while (GetTickCount() < deadline && readers_done_ < 2) Sleep(5);
  stop_ = true;
  if (out_reader_.joinable()) out_reader_.join();
  if (err_reader_.joinable()) err_reader_.join();
}

bool CliProcess::Type(std::string_view bytes) {
  DWORD n = 0;
  return input_ && WriteFile(input_, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) &&
         n == bytes.size();
}

std::string CliProcess::Out() const {
  std::lock_guard<std::mutex> hold(lock_);
  return WithoutCr(out_);
}

std::string CliProcess::Err() const {
  std::lock_guard<std::mutex> hold(lock_);
  return WithoutCr(err_);
}

int CliProcess::Wait() {
  if (!process_ || WaitForSingleObject(process_, kCliWaitMs) != WAIT_OBJECT_0) return -1;
  DWORD status = 0;
  GetExitCodeProcess(process_, &status);
  StopReaders();
  return static_cast<int>(status);
}

int FreePort() {
  TestListener probe;
  return probe.port();
}

FramedSocket::~FramedSocket() {
  if (socket_ != INVALID_SOCKET) closesocket(socket_);
}

FramedSocket::FramedSocket(FramedSocket&& other) noexcept
    : socket_(other.socket_), buffer_(std::move(other.buffer_)) {
  other.socket_ = INVALID_SOCKET;
}

FramedSocket& FramedSocket::operator=(FramedSocket&& other) noexcept {
  std::swap(socket_, other.socket_);
  std::swap(buffer_, other.buffer_);
  return *this;
}

bool FramedSocket::Send(std::string_view payload) {
  const std::string frame = chatsim::Frame(payload);
  return !frame.empty() &&
         send(socket_, frame.data(), static_cast<int>(frame.size()), 0) ==
             static_cast<int>(frame.size());
}

bool FramedSocket::Next(std::string& payload, DWORD ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    // The length byte counts itself.
    const size_t need = buffer_.empty() ? 0 : static_cast<unsigned char>(buffer_[0]);
    if (need >= 2 && buffer_.size() >= need) {
      payload = buffer_.substr(1, need - 1);
      buffer_.erase(0, need);
      return true;
    }
    const DWORD spent = GetTickCount() - start;
    if (spent >= ms || !Readable(socket_, ms - spent)) return false;
    char bytes[4096];
    const int n = recv(socket_, bytes, sizeof bytes, 0);
    if (n <= 0) return false;
    buffer_.append(bytes, static_cast<size_t>(n));
  }
}

bool FramedSocket::NextWhere(const std::function<bool(const std::string&)>& want,
                             std::string& payload) {
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD spent = GetTickCount() - start;
    if (spent >= kCliWaitMs || !Next(payload, kCliWaitMs - spent)) return false;
    if (want(payload)) return true;
  }
}

TestListener::TestListener() {
  socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = Loopback(0);
  if (bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(socket_, 4) != 0)
    return;
  int size = sizeof address;
  getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &size);
  port_ = ntohs(address.sin_port);
}

TestListener::~TestListener() { closesocket(socket_); }

FramedSocket TestListener::Accept(DWORD ms) {
  if (!Readable(socket_, ms)) return FramedSocket();
  return FramedSocket(accept(socket_, nullptr, nullptr));
}

FramedSocket ConnectTo(int port, DWORD ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = Loopback(port);
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
      return FramedSocket(s);
    closesocket(s);
    if (GetTickCount() - start >= ms) return FramedSocket();
    Sleep(50);
  }
}

}  // namespace tellu::testing
