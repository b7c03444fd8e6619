// Finding the host's main window by its caption, the recheck before each
// delivery, and the captions Tellu writes into it.
#pragma once
#include <windows.h>

#include <string>

namespace tellu {

// The top-level window highest in the Z order whose caption is exactly
// `title` (Shift-JIS, compared as UTF-16, case and all); nullptr if none.
HWND FindTopLevelWindow(const std::string& title);

// The host window is still there: walking down the Z order from the first
// window captioned `title` meets `host`.
bool RecheckHostWindow(const std::string& title, HWND host);

// Another Tellu launched the host: a window captioned title + " with Tellu.".
bool HostTaggedByLauncher(const std::string& title);

}  // namespace tellu
