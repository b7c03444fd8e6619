#include <winsock2.h>

#include "child_process.h"

#include <cstdlib>
#include <filesystem>

#include "win32/message_window.h"

namespace tellu::wintest {
namespace {

constexpr DWORD kStopMs = 10000;

std::string WithoutCr(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c != '\r') out += c;
  return out;
}

// Wine hands out the same process ids run after run: the caller clears
// whatever an earlier run left under the name.
std::wstring TempName(const std::wstring& stem) {
  static int count = 0;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + L"tellu_" + stem + L"_" + std::to_wstring(GetCurrentProcessId()) +
         L"_" + std::to_wstring(++count);
}

}  // namespace

bool Poll(const std::function<bool()>& done, DWORD ms) {
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, nullptr);
  const bool ok = PumpMessagesUntil(done, ms);
  KillTimer(nullptr, timer);
  return ok;
}

std::wstring ProgramPath(const char* variable) {
  const char* path = std::getenv(variable);
  std::wstring out;
  if (!path) return out;
  for (const char* p = path; *p; ++p) out += static_cast<wchar_t>(*p == '/' ? '\\' : *p);
  if (path[0] == '/') out = L"Z:" + out;
  return out;
}

std::wstring ScratchDir(const std::wstring& stem) {
  const std::wstring dir = TempName(stem);
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(dir), ignored);
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

std::wstring TempFile(const std::wstring& stem) {
  const std::wstring path = TempName(stem) + L".txt";
  DeleteFileW(path.c_str());
  return path;
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

int FreePort() {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 0;
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int size = sizeof address;
  int port = 0;
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0)
    port = ntohs(address.sin_port);
  closesocket(s);
  WSACleanup();
  return port;
}

ChildProcess::~ChildProcess() {
  if (input_) CloseHandle(input_);
  Stop();
  StopReaders();
}

bool ChildProcess::Launch(std::wstring command, const wchar_t* folder, STARTUPINFOW& startup,
                          BOOL inherit, DWORD flags) {
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, inherit, flags, nullptr, folder,
                      &startup, &info))
    return false;
  process_ = info.hProcess;
  pid_ = info.dwProcessId;
  CloseHandle(info.hThread);
  return true;
}

bool ChildProcess::Start(const std::wstring& command, const std::wstring& folder) {
  STARTUPINFOW startup{};
  return Launch(command, folder.empty() ? nullptr : folder.c_str(), startup, FALSE, 0);
}

bool ChildProcess::StartPiped(const std::wstring& command) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE in_read, in_write, out_read, out_write, err_read, err_write;
  if (!CreatePipe(&in_read, &in_write, &inherit, 0)) return false;
  if (!CreatePipe(&out_read, &out_write, &inherit, 0)) return false;
  if (!CreatePipe(&err_read, &err_write, &inherit, 0)) return false;
  // Only the child's ends are inherited.
  SetHandleInformation(in_write, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(out_read, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(err_read, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in_read;
  startup.hStdOutput = out_write;
  startup.hStdError = err_write;
  Launch(command, nullptr, startup, TRUE, CREATE_NO_WINDOW);
  CloseHandle(in_read);
  CloseHandle(out_write);
  CloseHandle(err_write);
  input_ = in_write;
  out_reader_ = std::thread([this, out_read] { Collect(out_read, out_); });
  err_reader_ = std::thread([this, err_read] { Collect(err_read, err_); });
  return process_ != nullptr;
}

bool ChildProcess::Running() const {
  return process_ && WaitForSingleObject(process_, 0) != WAIT_OBJECT_0;
}

int ChildProcess::Wait(DWORD ms) {
  if (!process_ || !Poll([&] { return !Running(); }, ms)) return -1;
  DWORD status = 0;
  GetExitCodeProcess(process_, &status);
  StopReaders();
  return static_cast<int>(status);
}

void ChildProcess::Stop(HWND window) {
  if (!process_) return;
  if (Running()) {
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (!window || WaitForSingleObject(process_, kStopMs) != WAIT_OBJECT_0)
      TerminateProcess(process_, 9);
    WaitForSingleObject(process_, kStopMs);
  }
  CloseHandle(process_);
  process_ = nullptr;
}

// Reads only what is there, so that a writing end left open by some other
// process (Wine may keep one in a console helper) cannot hold the reader
// after the child has ended.
void ChildProcess::Collect(HANDLE pipe, std::string& text) {
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

void ChildProcess::StopReaders() {
  if (!out_reader_.joinable()) return;
  // The child is gone; whatever it wrote is in the pipes by now or soon.
  const DWORD deadline = GetTickCount() + 2000;
  while (GetTickCount() < deadline && readers_done_ < 2) Sleep(5);
  stop_ = true;
  out_reader_.join();
  err_reader_.join();
}

bool ChildProcess::Type(std::string_view bytes) {
  DWORD n = 0;
  return input_ && WriteFile(input_, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) &&
         n == bytes.size();
}

std::string ChildProcess::Out() const {
  std::lock_guard<std::mutex> hold(lock_);
  return WithoutCr(out_);
}

std::string ChildProcess::Err() const {
  std::lock_guard<std::mutex> hold(lock_);
  return WithoutCr(err_);
}

}  // namespace tellu::wintest
