// fakehost: a stand-in for the host chat client in tests.  A top-level
// window that records every message it gets, and a chat connection that
// logs in like the host and records what the server sends.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "link.h"
#include "options.h"
#include "recorder.h"
#include "remote.h"
#include "text/sjis.h"
#include "win32/message_window.h"
#include "win32/wide_text.h"
#include "win32/win_net.h"

namespace tellu::fakehost {
namespace {

Recorder* recorder = nullptr;
Link* chat_link = nullptr;
// The queued message being dispatched, to tell it from the messages the
// system sends meanwhile.
const MSG* dispatching = nullptr;

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::wstring Caption(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

Arrival ArrivalOf(UINT message, WPARAM wparam, LPARAM lparam) {
  if (InSendMessage()) return Arrival::Sent;
  if (dispatching && dispatching->message == message && dispatching->wParam == wparam &&
      dispatching->lParam == lparam)
    return Arrival::Posted;
  return Arrival::Local;
}

// An ANSI window procedure, as the host has: character messages arrive as
// the bytes that were posted.
LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  const Arrival arrival = ArrivalOf(message, wparam, lparam);
  // Queued messages were recorded by the loop.
  if (arrival != Arrival::Posted) recorder->Message(arrival, message, wparam, lparam);
  switch (message) {
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcA(window, message, wparam, lparam);
      recorder->Line(std::string(1, Recorder::Tag(arrival)) + " caption " + Utf8(Caption(window)));
      return result;
    }
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
      if (data->dwData != kSendPayload || !chat_link) return FALSE;
      chat_link->Send(std::string(static_cast<const char*>(data->lpData), data->cbData));
      return TRUE;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

std::wstring WindowsDirectory() {
  wchar_t path[MAX_PATH] = L"";
  const UINT n = GetWindowsDirectoryW(path, MAX_PATH);
  return std::wstring(path, n < MAX_PATH ? n : 0);
}

std::wstring IniValue(const std::wstring& path, const std::wstring& section,
                      const std::wstring& key) {
  wchar_t value[128] = L"";
  GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", value, 128, path.c_str());
  return value;
}

int Run(const Options& options) {
  Recorder log(options.log);
  recorder = &log;
  WinsockSession winsock;
  MessageWindow events;
  WinNet net(events);
  Link chat(net, log);
  chat_link = &chat;

  const std::wstring ini = options.ini.empty() ? L"" : WindowsDirectory() + L"\\" + options.ini;
  std::wstring title = options.title;
  if (title.empty() && !ini.empty()) title = IniValue(ini, options.section, L"Title");
  if (title.empty()) title = L"fakehost";

  WNDCLASSA wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "TelluFakeHost";
  RegisterClassA(&wc);
  // The caption is set in UTF-16 afterwards, so it survives any code page.
  HWND window = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW, 40, 40, 480, 320,
                                nullptr, nullptr, wc.hInstance, nullptr);
  if (!window) return 1;
  SetWindowTextW(window, title.c_str());
  ShowWindow(window, SW_SHOWNORMAL);
  char ready[64];
  snprintf(ready, sizeof ready, "ready %llx", static_cast<unsigned long long>(
                                                  reinterpret_cast<UINT_PTR>(window)));
  log.Line(ready);

  if (!ini.empty() && winsock.ok()) {
    const std::wstring server = IniValue(ini, options.section, options.key);
    chat.Start(Sjis(server), options.port, text::SjisToWire(Sjis(options.name)), options.reads,
               options.login);
  }

  // No TranslateMessage: a posted key must not turn into a character of
  // our own making.
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.hwnd == window) log.Message(Arrival::Posted, msg.message, msg.wParam, msg.lParam);
    dispatching = &msg;
    DispatchMessageA(&msg);
    dispatching = nullptr;
  }
  log.Line("exit");
  return 0;
}

}  // namespace
}  // namespace tellu::fakehost

int main() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::wstring> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  LocalFree(argv);
  tellu::fakehost::Options options;
  std::wstring error;
  if (!tellu::fakehost::ParseOptions(args, options, error)) {
    fwprintf(stderr, L"fakehost: %ls\n", error.c_str());
    return 2;
  }
  return tellu::fakehost::Run(options);
}
