#include "gui/whisper_flash.h"

namespace tellu {
namespace {

// The bar's own windows (log, Who, dialogs) count as Tellu: the user reading
// the log has seen the whisper.
bool UserIsHere(HWND host) {
  HWND front = GetForegroundWindow();
  if (!front) return false;
  if (host && (front == host || GetAncestor(front, GA_ROOTOWNER) == host)) return true;
  DWORD process = 0;
  GetWindowThreadProcessId(front, &process);
  return process == GetCurrentProcessId();
}

}  // namespace

void FlashForWhisper(HWND host, HWND bar) {
  if (host && !IsWindow(host)) host = nullptr;
  HWND flashed = host ? host : bar;
  if (!flashed || UserIsHere(host)) return;
  FLASHWINFO info{sizeof info, flashed, FLASHW_ALL | FLASHW_TIMERNOFG, 0, 0};
  FlashWindowEx(&info);
#ifdef TELLU_TEST_SEAMS
  const auto count = reinterpret_cast<UINT_PTR>(GetPropW(bar, kWhisperFlashCount));
  SetPropW(bar, kWhisperFlashCount, reinterpret_cast<HANDLE>(count + 1));
  SetPropW(bar, kWhisperFlashWindow, flashed);
#endif
}

}  // namespace tellu
