#include "tellu_process.h"

#include <filesystem>


namespace tellu::wintest {
namespace {

const wchar_t kBarTitle[] = L"Tellu  Ver  0.17j";

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
  WriteBytes(path_, bytes);
}

WindowsDirFile::~WindowsDirFile() { DeleteFileW(path_.c_str()); }

std::string WindowsDirFile::Read() const { return ReadBytes(path_); }

TelluProcess::TelluProcess(const std::string& ini_bytes) : folder_(ScratchDir(L"tl")) {
  const std::wstring stem = folder_.substr(folder_.rfind(L'\\') + 1);
  program_ = folder_ + L"\\" + stem + L".exe";
  CopyFileW(ProgramPath("TELLU_EXE").c_str(), program_.c_str(), FALSE);
  WriteBytes(ini(), ini_bytes);
}

TelluProcess::~TelluProcess() {
  process_.Stop(bar_);
  // Whatever the program left beside itself (its log files, say) goes too.
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(folder_), ignored);
}

bool TelluProcess::Start(const std::wstring& args) {
  std::wstring command = L"\"" + program_ + L"\"";
  if (!args.empty()) command += L" " + args;
  return process_.Start(command, folder_);
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
  Search search{process_.pid(), &match};
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

int TelluProcess::WaitForExit() { return process_.Wait(); }

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

}  // namespace tellu::wintest
