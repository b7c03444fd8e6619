#include "console/win_console.h"

#include <io.h>

#include <algorithm>

#include "console/console_app.h"
#include "console/console_out.h"
#include "console/display_text.h"
#include "win32/win_places.h"
#include "win32/wide_text.h"

namespace tellu {
namespace {

std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

HANDLE HandleOf(std::FILE* stream) {
  return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

std::string SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message(text ? text : L"", n);
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                              message.back() == L' ' || message.back() == L'.'))
    message.pop_back();
  return message.empty() ? "error " + std::to_string(error) : Utf8(message);
}

}  // namespace

void WriteOut(std::FILE* stream, std::string_view utf8) {
  std::fflush(stream);
  const HANDLE handle = HandleOf(stream);
  DWORD mode = 0;
  if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) {
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
    return;
  }
  const int size = static_cast<int>(utf8.size());
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(n > 0 ? static_cast<size_t>(n) : 0, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), n);
  // A console may take a long text in parts.
  for (size_t done = 0; done < wide.size();) {
    DWORD written = 0;
    const DWORD part = static_cast<DWORD>(std::min<size_t>(wide.size() - done, 8192));
    if (!WriteConsoleW(handle, wide.data() + done, part, &written, nullptr) || written == 0) return;
    done += written;
  }
}

WinConsole::~WinConsole() {
  if (restore_output_mode_) SetConsoleMode(HandleOf(stdout), output_mode_);
}

std::string WinConsole::WindowsDir() { return WindowsDirectory(); }

std::string WinConsole::ProfilePath(const std::string& windows_dir,
                                    const std::string& program_path) {
  return WinProfilePath(files_, windows_dir, program_path);
}

std::string WinConsole::PathText(const std::string& path) { return TerminalText(path); }

bool WinConsole::ColourOutput() {
  // Colours only where the console itself reads the escape sequences.
  const HANDLE out = HandleOf(stdout);
  DWORD mode = 0;
  if (out == INVALID_HANDLE_VALUE || !GetConsoleMode(out, &mode)) return false;
  if (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) return true;
  if (!SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING)) return false;
  output_mode_ = mode;
  restore_output_mode_ = true;
  return true;
}

void WinConsole::StartInput(LineFn on_line, EndFn on_end) {
  input_ = std::make_unique<WinStdin>(loop_, std::move(on_line), std::move(on_end));
}

bool WinConsole::ReportingShell::Start(const std::string& program, const std::string& params,
                                       const std::string& folder) {
  if (shell.Start(program, params, folder)) return true;
  const DWORD error = GetLastError();
  if (report) report(TerminalText(program) + ": " + SystemMessage(error));
  return false;
}

int RunConsole(const ConsoleOptions& options, const std::string& program_path) {
  WinConsole platform;
  if (!platform.ok()) {
    WriteOut(stderr, "tellu-cli: no message window or no Winsock\n");
    return 2;
  }
  return RunConsoleOn(platform, options, program_path);
}

}  // namespace tellu
