// The flash of a whisper to the user: the host's taskbar button blinks until
// the user comes back to it, unless they are with the host or with Tellu.
#pragma once
#include <windows.h>

namespace tellu {

// host: the host's window, or null before it is known (the bar flashes then).
// A build with TELLU_TEST_SEAMS also counts the flashes on the bar, in the
// property kWhisperFlashCount, and keeps the window flashed in
// kWhisperFlashWindow, for a test in another process to read.
void FlashForWhisper(HWND host, HWND bar);

inline constexpr wchar_t kWhisperFlashCount[] = L"TelluWhisperFlashes";
inline constexpr wchar_t kWhisperFlashWindow[] = L"TelluWhisperFlashWindow";

}  // namespace tellu
