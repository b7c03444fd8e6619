#include "fakehost_process.h"

#include <cstdio>
#include <cstdlib>

#include "gui/host_window.h"

namespace tellu::wintest {
namespace {

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

Lines FileLines(const std::wstring& path) {
  const std::string bytes = ReadBytes(path);
  Lines lines;
  size_t start = 0;
  for (size_t end = bytes.find("\r\n"); end != std::string::npos;
       end = bytes.find("\r\n", start)) {
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

FakeHost::FakeHost(const std::wstring& args) : log_(TempFile(L"fakehost")) {
  process_.Start(L"\"" + FakeHostPath() + L"\" " + args + L" --log \"" + log_ + L"\"");
}

FakeHost::~FakeHost() {
  // Its window is found from its record's "ready" line.
  HWND window = nullptr;
  for (const std::string& line : Lines())
    if (line.rfind("ready ", 0) == 0)
      window = reinterpret_cast<HWND>(strtoull(line.c_str() + 6, nullptr, 16));
  process_.Stop(window);
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

}  // namespace tellu::wintest
