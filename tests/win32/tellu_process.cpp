#include "tellu_process.h"

#include <cstdlib>

#include "files/std_files.h"
#include "win32/message_window.h"
#include "win32/wide_text.h"
#include "win32/win_net.h"

namespace tellu::testing {
namespace {

constexpr DWORD kDeadlineMs = 30000;
const wchar_t kBarTitle[] = L"Tellu  Ver  0.17j";

std::wstring UnixToWine(const char* path) {
  std::wstring out;
  if (!path) return out;
  for (const char* p = path; *p; ++p) out += static_cast<wchar_t>(*p == '/' ? '\\' : *p);
  if (path[0] == '/') out = L"Z:" + out;
  return out;
}

}  // namespace

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  return name;
}

std::wstring WindowsDir() {
  wchar_t path[MAX_PATH] = L"";
  const UINT n = GetWindowsDirectoryW(path, MAX_PATH);
  return std::wstring(path, n < MAX_PATH ? n : 0);
}

WindowsDirFile::WindowsDirFile(const std::wstring& name, const std::string& bytes)
    : name_(name), path_(WindowsDir() + L"\\" + name) {
  StdFiles files;
  files.WriteAll(Sjis(path_), bytes);
}

WindowsDirFile::~WindowsDirFile() { DeleteFileW(path_.c_str()); }

std::string WindowsDirFile::Read() const {
  std::string bytes;
  StdFiles files;
  files.ReadAll(Sjis(path_), bytes);
  return bytes;
}

int FreePort() {
  WinsockSession winsock;
  MessageWindow events;
  WinNet net(events);
  auto listener = net.Listen(0, [](std::unique_ptr<Stream>) {});
  return listener ? listener->Port() : 0;
}

TelluProcess::TelluProcess(const std::string& ini) {
  static int count = 0;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring stem =
      L"tl" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++count);
  folder_ = std::wstring(temp) + stem;
  CreateDirectoryW(folder_.c_str(), nullptr);
  program_ = folder_ + L"\\" + stem + L".exe";
  CopyFileW(UnixToWine(std::getenv("TELLU_EXE")).c_str(), program_.c_str(), FALSE);
  StdFiles files;
  files.WriteAll(Sjis(folder_ + L"\\" + stem + L".ini"), ini);
}

TelluProcess::~TelluProcess() {
  if (process_) {
    if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) {
      if (bar_) PostMessageW(bar_, WM_CLOSE, 0, 0);
      if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) TerminateProcess(process_, 9);
    }
    CloseHandle(process_);
  }
  // Whatever the program left beside itself (its log files, say) goes too.
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder_ + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") DeleteFileW((folder_ + L"\\" + name).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder_.c_str());
}

bool TelluProcess::Start(const std::wstring& args) {
  std::wstring command = L"\"" + program_ + L"\"";
  if (!args.empty()) command += L" " + args;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(program_.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder_.c_str(), &startup, &info))
    return false;
  process_ = info.hProcess;
  pid_ = info.dwProcessId;
  CloseHandle(info.hThread);
  return true;
}

namespace {
struct Search {
  DWORD pid;
  const std::function<bool(HWND)>* match;
  HWND found = nullptr;
};
BOOL CALLBACK SearchOne(HWND window, LPARAM param) {
  auto& s = *reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != s.pid || !(*s.match)(window)) return TRUE;
  s.found = window;
  return FALSE;
}
}  // namespace

HWND TelluProcess::FindWindowWhere(const std::function<bool(HWND)>& match) const {
  Search search{pid_, &match};
  EnumWindows(SearchOne, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND TelluProcess::WaitForBar() {
  Poll([&] {
    bar_ = FindWindowWhere([](HWND w) { return WindowTextOf(w) == kBarTitle; });
    return bar_ != nullptr;
  });
  return bar_;
}

HWND TelluProcess::WaitForMessageBox(const std::wstring& caption) {
  HWND box = nullptr;
  Poll([&] {
    box = FindWindowWhere([&](HWND w) {
      return ClassOf(w) == L"#32770" && IsWindowVisible(w) && WindowTextOf(w) == caption;
    });
    return box != nullptr;
  });
  return box;
}

std::wstring TelluProcess::AnswerMessageBox(const std::wstring& caption) {
  HWND box = WaitForMessageBox(caption);
  if (!box) return L"";
  std::wstring text = MessageBoxText(box);
  PressOk(box);
  Poll([&] { return !IsWindow(box); });
  return text;
}

bool TelluProcess::WaitForDock() {
  return bar_ && Poll([&] {
    return !FindWindowWhere(
        [&](HWND w) { return w != bar_ && IsWindowVisible(w) && ClassOf(w) == L"#32770"; });
  });
}

HWND TelluProcess::FindWindowOfClass(const std::wstring& window_class) const {
  return FindWindowWhere([&](HWND w) { return ClassOf(w) == window_class; });
}

int TelluProcess::WaitForExit() {
  if (!process_) return -1;
  if (!Poll([&] { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; })) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return static_cast<int>(code);
}

std::wstring MessageBoxText(HWND box) {
  // The longest static text: the message, not the icon.
  std::wstring text;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) != L"Static") continue;
    const std::wstring t = WindowTextOf(child);
    if (t.size() > text.size()) text = t;
  }
  return text;
}

void PressOk(HWND box) {
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

std::wstring WindowTextOf(HWND window) {
  wchar_t text[4096] = L"";
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      5000, &copied);
  return std::wstring(text, copied < 4096 ? copied : 0);
}

}  // namespace tellu::testing
