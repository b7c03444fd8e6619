#include "fakehost_process.h"

#include <cstdlib>
#include <functional>

#include "files/std_files.h"
#include "win32/message_window.h"
#include "gui/host_window.h"
#include "win32/wide_text.h"

namespace tellu::testing {
namespace {

constexpr DWORD kDeadlineMs = 30000;
constexpr UINT kMarker = WM_APP + 77;

}  // namespace

const Lines kActivation = {
    "S WM_ACTIVATEAPP 1 0",        "S WM_NCACTIVATE 1 0", "S WM_ACTIVATE 2 0",
    "S WM_IME_SETCONTEXT 1 c000000f", "S WM_IME_NOTIFY c 0",  "S WM_SETFOCUS 0 0",
    "S WM_IME_SETCONTEXT 0 c000000f", "S WM_IME_NOTIFY c 0"};
const Lines kDeactivation = {"S WM_IME_NOTIFY e 1", "S WM_NCACTIVATE 0 0",
                             "S WM_IME_SETCONTEXT 0 c000000f"};
const Lines kEnter = {"P WM_KEYDOWN 49e2000d 1c0001", "P WM_CHAR d 0",
                      "P WM_KEYUP 49e2000d c01c0001"};

Lines Join(std::initializer_list<Lines> parts) {
  Lines out;
  for (const Lines& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Lines SentMessages(const Lines& record) { return Only(record, "S WM_"); }

Lines PostedKeys(const Lines& record) {
  Lines out;
  for (const std::string& line : record)
    if (line.rfind("P WM_CHAR", 0) == 0 || line.rfind("P WM_KEY", 0) == 0) out.push_back(line);
  return out;
}

bool Poll(const std::function<bool()>& done) {
  // A thread timer wakes the pump to look again at what other programs do.
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, nullptr);
  const bool ok = PumpMessagesUntil(done, kDeadlineMs);
  KillTimer(nullptr, timer);
  return ok;
}

Lines FileLines(const std::wstring& path) {
  std::string bytes;
  StdFiles files;
  files.ReadAll(Sjis(path), bytes);
  Lines lines;
  size_t start = 0;
  for (size_t end = bytes.find("\r\n"); end != std::string::npos;
       end = bytes.find("\r\n", start)) {
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::wstring FakeHostPath() {
  const char* path = getenv("TELLU_FAKEHOST");
  std::wstring out;
  if (!path) return out;
  for (const char* p = path; *p; ++p) out += static_cast<wchar_t>(*p == '/' ? '\\' : *p);
  if (path[0] == '/') out = L"Z:" + out;
  return out;
}

std::wstring TempFile(const std::wstring& stem) {
  static int count = 0;
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  std::wstring path = std::wstring(dir) + L"tellu_" + stem + L"_" +
                      std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++count) +
                      L".txt";
  DeleteFileW(path.c_str());
  return path;
}

FakeHost::FakeHost(const std::wstring& args) : log_(TempFile(L"fakehost")) {
  std::wstring command = L"\"" + FakeHostPath() + L"\" " + args + L" --log \"" + log_ + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &info)) {
    process_ = info.hProcess;
    CloseHandle(info.hThread);
  }
}

FakeHost::~FakeHost() {
  if (process_) {
    // Its window is found from its record's "ready" line.
    for (const std::string& line : Lines()) {
      if (line.rfind("ready ", 0) != 0) continue;
      const auto window = reinterpret_cast<HWND>(strtoull(line.c_str() + 6, nullptr, 16));
      PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
    CloseHandle(process_);
  }
  DeleteFileW(log_.c_str());
}

HWND FakeHost::WaitForWindow(const std::string& title) {
  HWND found = nullptr;
  Poll([&] { return (found = FindTopLevelWindow(title)) != nullptr; });
  return found;
}

std::vector<std::string> FakeHost::Lines() const { return FileLines(log_); }

bool FakeHost::WaitForLine(const std::string& line) {
  return Poll([&] {
    for (const std::string& l : Lines())
      if (l == line) return true;
    return false;
  });
}

bool FakeHost::Settle(HWND window) {
  const int mark = ++marks_;
  PostMessageW(window, kMarker, static_cast<WPARAM>(mark), 0);
  char line[64];
  snprintf(line, sizeof line, "P WM_APP+77 %x 0", mark);
  return WaitForLine(line);
}

Lines Only(const Lines& lines, const std::string& prefix) {
  Lines out;
  for (const std::string& line : lines)
    if (line.rfind(prefix, 0) == 0) out.push_back(line);
  return out;
}

}  // namespace tellu::testing
